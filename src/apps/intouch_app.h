// CInTApp: one HMI application of the project, from the preparation of its folder through
// its build. PrepareAppFolder makes one (app_folder.cpp): the folder is created or checked,
// filled from the shell application when it holds no application, its DDE.CFG read, and the
// folder locked against other builds until BuildApp has ended.
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
  // PrepareAppFolder: the folder of HMI application `in_touch_app_name` made ready for its
  // build. `row` is the application's first access-name row and `client_app_name` its client
  // application; `folder_override` is the folder the command line gave, if any. Null, with the
  // reason reported, when the application cannot be built.
  [[nodiscard]] static std::unique_ptr<CInTApp> PrepareAppFolder(
      std::string_view project_dir, std::string_view factory_suite_dir,
      std::string_view clients_dir, std::string_view in_touch_app_name, ProjAccName_T& row,
      std::string_view client_app_name, std::optional<std::string_view> folder_override);
  ~CInTApp();
  CInTApp(const CInTApp&) = delete;
  CInTApp& operator=(const CInTApp&) = delete;

  // Merges `row` and starts a new client application using it; it becomes current.
  void AddClientApp(std::string_view client_app_name, ProjAccName_T& row);
  // Merges `row` and adds it to the current client application unless it is there already.
  void AddAccessName(ProjAccName_T& row);

  // Writes the application's outputs into `folder_override` (when given) or AppPath, then lets
  // other builds have the folder (app_build.cpp): the dictionary of each "View" client, Always
  // Advise on each "Recipe" client's access names, Tagname.avl removed, DDE.CFG, the entry in
  // AppList.INI (not with a folder override) and TagBrw.DAT last. Each step reports its own
  // failures; none stops the others. `project` holds the project's tags, shared by the build's
  // applications.
  void BuildApp(std::optional<std::string_view> folder_override, ProjectTags& project);

  const CClientFolders& folders() const { return folders_; }
  const std::string& InTouchAppName() const { return in_touch_app_name_; }
  const std::string& AppPath() const { return app_path_; }
  const CAccNames& AccNames() const { return acc_names_; }
  const std::vector<ClientApp_T>& ClientList() const { return client_list_; }

 private:
  CInTApp(std::string_view project_dir, std::string_view factory_suite_dir,
          std::string_view clients_dir, std::string_view in_touch_app_name);

  // app_folder.cpp: false when the application cannot be built (reported).
  [[nodiscard]] bool Prepare(std::optional<std::string_view> folder_override, ProjAccName_T& row,
                             std::string_view client_app_name);
  [[nodiscard]] bool PrepareNewFolder();
  [[nodiscard]] bool PrepareExistingFolder(std::optional<std::string_view> folder_override,
                                           const std::string& app_folder);
  void LockFolder(const std::string& app_folder);
  void CheckHistoryPath(const std::string& app_folder) const;
  // app_shell.cpp: false when the copy failed (reported).
  [[nodiscard]] bool CopyShellApp(std::string_view folder, std::string_view pattern);
  [[nodiscard]] bool FindShellAppSource();

  CClientFolders folders_;
  std::string in_touch_app_name_;
  std::string app_path_;
  CAccNames acc_names_;
  // The last one is the current client application.
  std::vector<ClientApp_T> client_list_;
  // The indices of the current client application, so that each is added once in O(1).
  std::unordered_set<int> current_indices_;
  // Held from the preparation until the build has ended; empty when the folder could not be
  // locked (it does not exist), in which case the build's writes fail and report.
  std::optional<PathLock> folder_lock_;
};

// The shell's copy of the entries of `source` matching the wildcard `pattern` (with what they
// hold) into `destination`, `last_entry` after all others (platform/shell.h); false after
// "Failed to copy %s to %s" when it fails. A missing source folder fails; an empty one copies
// nothing and succeeds.
[[nodiscard]] bool CopyFolderFiles(std::string_view destination, std::string_view source,
                                   std::string_view pattern, std::string_view last_entry = {});

}  // namespace quellor
