// CInTApp: one HMI application of the project, from the preparation of its folder through
// its build. Constructing it prepares the folder (app_folder.cpp): the folder is created or
// checked, filled from the shell application when it holds no application, its DDE.CFG read,
// and the folder locked against other builds until BuildApp has ended.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "accessnames/acc_names.h"
#include "apps/client_folders.h"
#include "platform/path_lock.h"

namespace quellor {

class ProjectTags;

// The file whose presence shows that an application folder holds an InTouch application. The
// copy of the shell application writes it last, so a folder that holds it holds the whole
// copy, and a copy that ended early is made again by the next build.
inline constexpr std::string_view kAppMarkerFile = "tagname.x";

class CInTApp final {
 public:
  // PrepareAppFolder. `row` is the application's first access-name row and ClientAppName its
  // client application; FolderOverride is null unless the command line gave the folder. Sets
  // `ok` to 1, and to 0 (with the reason reported) when the application cannot be built; the
  // caller then destroys the object at once.
  CInTApp(std::string_view ProjectDir, std::string_view FactorySuiteDir,
          std::string_view ClientsDir, std::string_view InTouchAppName, ProjAccName_T& row,
          std::string_view ClientAppName, const char* FolderOverride, int& ok);
  ~CInTApp();
  CInTApp(const CInTApp&) = delete;
  CInTApp& operator=(const CInTApp&) = delete;

  // Merges `row` and starts a new client application using it; it becomes current.
  // Requires a prepared application.
  void AddClientApp(std::string_view ClientAppName, ProjAccName_T& row);
  // Merges `row` and adds it to the current client application unless it is there already.
  void AddAccessName(ProjAccName_T& row);

  // Writes the application's outputs into FolderOverride (when given) or AppPath, then lets
  // other builds have the folder (app_build.cpp): the dictionary of each "View" client, Always
  // Advise on each "Recipe" client's access names, Tagname.avl removed, DDE.CFG, the entry in
  // AppList.INI (not with FolderOverride) and TagBrw.DAT last. Each step reports its own
  // failures; none stops the others. `project` holds the project's tags, shared by the build's
  // applications.
  void BuildApp(const char* FolderOverride, ProjectTags& project);

  const CClientFolders& folders() const { return folders_; }
  const std::string& InTouchAppName() const { return InTouchAppName_; }
  const std::string& AppPath() const { return AppPath_; }
  // Null when the preparation was refused before DDE.CFG was read.
  const CAccNames* AccNames() const { return AccNames_.get(); }
  // Null unless the preparation succeeded.
  const std::vector<ClientApp_T>* ClientList() const { return ClientList_.get(); }

 private:
  void PrepareAppFolder(const char* FolderOverride, ProjAccName_T& row,
                        std::string_view ClientAppName, int& ok);
  bool PrepareNewFolder();
  bool PrepareExistingFolder(const char* FolderOverride, const std::string& AppFolder);
  void LockFolder(const std::string& AppFolder);
  void CheckHistoryPath(const std::string& AppFolder) const;
  // app_shell.cpp: 1 on success, 0 when reported as failed.
  int CopyShellApp(std::string_view folder, std::string_view pattern);
  int FindShellAppSource();

  CClientFolders folders_;
  std::string InTouchAppName_;
  std::string AppPath_;
  std::unique_ptr<CAccNames> AccNames_;
  std::unique_ptr<std::vector<ClientApp_T>> ClientList_;
  int CurrentClient_ = 0;
  // The indices of the current client application, so that each is added once in O(1).
  std::unordered_set<int> current_indices_;
  // Held from the preparation until the build has ended; empty when the folder could not be
  // locked (it does not exist), in which case the build's writes fail and report.
  std::optional<PathLock> folder_lock_;
};

// The shell's copy of the entries of `source` matching the wildcard `pattern` (with what they
// hold) into `destination`, `last_entry` after all others (platform/shell.h); 1 on success,
// else 0 after "Failed to copy %s to %s". A missing source folder fails; an empty one copies
// nothing and succeeds.
int CopyFolderFiles(std::string_view destination, std::string_view source, std::string_view pattern,
                    std::string_view last_entry = {});

}  // namespace quellor
