// PrepareAppFolder: how an application's folder is made ready for its build.
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

std::unique_ptr<CInTApp> CInTApp::PrepareAppFolder(
    std::string_view project_dir, std::string_view factory_suite_dir, std::string_view clients_dir,
    std::string_view in_touch_app_name, ProjAccName_T& row, std::string_view client_app_name,
    std::optional<std::string_view> folder_override) {
  std::unique_ptr<CInTApp> app(
      new CInTApp(project_dir, factory_suite_dir, clients_dir, in_touch_app_name));
  if (!app->Prepare(folder_override, row, client_app_name)) return nullptr;
  return app;
}

CInTApp::CInTApp(std::string_view project_dir, std::string_view factory_suite_dir,
                 std::string_view clients_dir, std::string_view in_touch_app_name)
    : folders_{std::string(project_dir), std::string(factory_suite_dir), std::string(clients_dir),
               ""},
      in_touch_app_name_(in_touch_app_name) {}

CInTApp::~CInTApp() = default;

bool CInTApp::Prepare(std::optional<std::string_view> folder_override, ProjAccName_T& row,
                      std::string_view client_app_name) {
  // An existing folder is fine; a folder that cannot be made shows in the later steps.
  (void)MakeDirectory(folders_.FactorySuiteDir);
  (void)MakeDirectory(folders_.ClientsDir);
  (void)MakeDirectory(folders_.ClientsDir + "\\InTApps");
  app_path_ = folders_.ClientsDir + "\\InTApps\\" + in_touch_app_name_;
  const std::string app_folder = folder_override ? std::string(*folder_override) : app_path_;

  const bool prepared = (folder_override || PathExists(app_path_))
                            ? PrepareExistingFolder(folder_override, app_folder)
                            : PrepareNewFolder();
  if (!prepared) return false;
  CheckHistoryPath(app_folder);

  if (!ReadDDECfgFile(app_folder, acc_names_)) {
    Report(StringPrintf("Failed to create the access name data for InTouch application %s ",
                        in_touch_app_name_.c_str()),
           2, 1);
    return false;
  }
  AddClientApp(client_app_name, row);
  return true;
}

bool CInTApp::PrepareNewFolder() {
  Report(StringPrintf("Creating InTouch application folder %s", in_touch_app_name_.c_str()), 0, 0);
  (void)MakeDirectory(app_path_);
  LockFolder(app_path_);
  // Another build may have made and filled the folder while this one waited for its lock:
  // what that build wrote is kept, never copied over with the shell application's files.
  if (HoldsApplication(app_path_)) return true;
  if (ManagedApps()) {
    ReportManagedFolderLines();
    return true;
  }
  // A new folder cannot be open in the editor: no lock file is looked for.
  return CopyShellApp(app_path_, "*.*");
}

bool CInTApp::PrepareExistingFolder(std::optional<std::string_view> folder_override,
                                    const std::string& app_folder) {
  Report(StringPrintf("Modifying existing InTouch application %s ", in_touch_app_name_.c_str()), 0,
         0);
  LockFolder(app_folder);
  if (!folder_override && !HoldsApplication(app_path_)) {
    if (ManagedApps()) {
      ReportManagedFolderLines();
      return false;
    }
    if (!CopyShellApp(app_path_, "*.*")) return false;
  }
  if (PathExists(app_folder + "\\appedit.lok")) {
    Report(StringPrintf(
               "InTouch application %s appears to be locked (appedit.lok exists) - aborting build",
               in_touch_app_name_.c_str()),
           2, 1);
    return false;
  }
  return true;
}

void CInTApp::LockFolder(const std::string& app_folder) {
  auto lock = PathLock::Acquire(app_folder);
  if (lock.ok()) folder_lock_.emplace(std::move(*lock));
}

void CInTApp::CheckHistoryPath(const std::string& app_folder) const {
  // The length that matters is AppPath's, also when the build goes to another folder.
  if (GetPrivateProfileInt("History", "bUseAppDir", 0, app_folder + "\\dhistcfg.ini") == 1 &&
      app_path_.size() > kLongestHistoryPath) {
    Report(
        "InTouch application path too long for historical logging, see Special->Configure->"
        "Historical Logging... in WindowMaker",
        1, 0);
  }
}

void CInTApp::AddClientApp(std::string_view client_app_name, ProjAccName_T& row) {
  int index = 0;
  acc_names_.MergeAccessName(row, index);
  client_list_.push_back(ClientApp_T{std::string(client_app_name), {index}});
  current_indices_ = {index};
}

void CInTApp::AddAccessName(ProjAccName_T& row) {
  int index = 0;
  acc_names_.MergeAccessName(row, index);
  if (!current_indices_.insert(index).second) return;
  client_list_.back().AccNameIndices.push_back(index);
}

}  // namespace quellor
