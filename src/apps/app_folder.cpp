// PrepareAppFolder: the constructor of CInTApp.
#include <string>

#include "accessnames/dde_cfg_file.h"
#include "apps/intouch_app.h"
#include "base/format.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "report/report.h"
#include "run/run_state.h"

namespace quellor {
namespace {

// InTouch cannot keep its history files in an application folder whose path is longer.
constexpr std::size_t kLongestHistoryPath = 50;

// Whether `folder` holds an InTouch application (whole, when the shell's copy made it).
bool HoldsApplication(const std::string& folder) {
  return PathExists(folder + "\\" + std::string(kAppMarkerFile));
}

void ReportManagedFolderLines() {
  Report(
      " - this application folder needs to be populated by publishing an application from the "
      "ArchestrA IDE",
      0, 0);
  Report(" - when there is an application here the build will update the published application", 0,
         0);
}

}  // namespace

CInTApp::CInTApp(std::string_view ProjectDir, std::string_view FactorySuiteDir,
                 std::string_view ClientsDir, std::string_view InTouchAppName, ProjAccName_T& row,
                 std::string_view ClientAppName, const char* FolderOverride, int& ok)
    : folders_{std::string(ProjectDir), std::string(FactorySuiteDir), std::string(ClientsDir), ""},
      InTouchAppName_(InTouchAppName) {
  PrepareAppFolder(FolderOverride, row, ClientAppName, ok);
}

CInTApp::~CInTApp() = default;

void CInTApp::PrepareAppFolder(const char* FolderOverride, ProjAccName_T& row,
                               std::string_view ClientAppName, int& ok) {
  ok = 1;
  // An existing folder is fine; a folder that cannot be made shows in the later steps.
  (void)MakeDirectory(folders_.FactorySuiteDir);
  (void)MakeDirectory(folders_.ClientsDir);
  (void)MakeDirectory(folders_.ClientsDir + "\\InTApps");
  AppPath_ = folders_.ClientsDir + "\\InTApps\\" + InTouchAppName_;
  const std::string AppFolder = FolderOverride != nullptr ? FolderOverride : AppPath_;

  const bool prepared = (FolderOverride != nullptr || PathExists(AppPath_))
                            ? PrepareExistingFolder(FolderOverride, AppFolder)
                            : PrepareNewFolder();
  if (!prepared) {
    ok = 0;
    folder_lock_.reset();
    return;
  }
  CheckHistoryPath(AppFolder);

  AccNames_ = std::make_unique<CAccNames>(ReadDDECfgFile(AppFolder, ok));
  if (ok == 0) {
    Report(StringPrintf("Failed to create the access name data for InTouch application %s ",
                        InTouchAppName_.c_str()),
           2, 1);
    folder_lock_.reset();
    return;
  }
  ClientList_ = std::make_unique<std::vector<ClientApp_T>>();
  AddClientApp(ClientAppName, row);
}

bool CInTApp::PrepareNewFolder() {
  Report(StringPrintf("Creating InTouch application folder %s", InTouchAppName_.c_str()), 0, 0);
  (void)MakeDirectory(AppPath_);
  LockFolder(AppPath_);
  // Another build may have made and filled the folder while this one waited for its lock:
  // what that build wrote is kept, never copied over with the shell application's files.
  if (HoldsApplication(AppPath_)) return true;
  if (ManagedApps()) {
    ReportManagedFolderLines();
    return true;
  }
  // A new folder cannot be open in the editor: no lock file is looked for.
  return CopyShellApp(AppPath_, "*.*") != 0;
}

bool CInTApp::PrepareExistingFolder(const char* FolderOverride, const std::string& AppFolder) {
  Report(StringPrintf("Modifying existing InTouch application %s ", InTouchAppName_.c_str()), 0, 0);
  LockFolder(AppFolder);
  if (FolderOverride == nullptr && !HoldsApplication(AppPath_)) {
    if (ManagedApps()) {
      ReportManagedFolderLines();
      return false;
    }
    if (CopyShellApp(AppPath_, "*.*") == 0) return false;
  }
  if (PathExists(AppFolder + "\\appedit.lok")) {
    Report(StringPrintf(
               "InTouch application %s appears to be locked (appedit.lok exists) - aborting build",
               InTouchAppName_.c_str()),
           2, 1);
    return false;
  }
  return true;
}

void CInTApp::LockFolder(const std::string& AppFolder) {
  auto lock = PathLock::Acquire(AppFolder);
  if (lock.ok()) folder_lock_.emplace(std::move(*lock));
}

void CInTApp::CheckHistoryPath(const std::string& AppFolder) const {
  // The length that matters is AppPath's, also when the build goes to another folder.
  if (GetPrivateProfileInt("History", "bUseAppDir", 0, AppFolder + "\\dhistcfg.ini") == 1 &&
      AppPath_.size() > kLongestHistoryPath) {
    Report(
        "InTouch application path too long for historical logging, see Special->Configure->"
        "Historical Logging... in WindowMaker",
        1, 0);
  }
}

void CInTApp::AddClientApp(std::string_view ClientAppName, ProjAccName_T& row) {
  int index = 0;
  AccNames_->MergeAccessName(row, index);
  ClientList_->push_back(ClientApp_T{std::string(ClientAppName), {index}});
  CurrentClient_ = static_cast<int>(ClientList_->size()) - 1;
  current_indices_ = {index};
}

void CInTApp::AddAccessName(ProjAccName_T& row) {
  int index = 0;
  AccNames_->MergeAccessName(row, index);
  if (!current_indices_.insert(index).second) return;
  ClientList_->at(static_cast<std::size_t>(CurrentClient_)).AccNameIndices.push_back(index);
}

}  // namespace quellor
