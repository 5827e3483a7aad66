#include "apps_fixture.h"

#include "platform/env.h"
#include "run/run_state.h"
#include "testing/temp_dir.h"

namespace quellor::testing {

void PutFile(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::create_directories(path.parent_path());
  WriteFile(path, bytes);
}

AppsProject::AppsProject(const std::string& sql) : project_(sql) {
  TheRunState().g_ManagedApps = 0;
  Env::Default().Reset();
}

AppsProject::~AppsProject() {
  TheRunState().g_ManagedApps = 0;
  Env::Default().Reset();
}

std::filesystem::path AppsProject::AppDir(const std::string& app) const {
  return project_.dir().path() / "FactorySuite/Clients/InTApps" / app;
}

std::filesystem::path AppsProject::NodeDir(const std::string& node) const {
  return project_.dir().path() / "FactorySuite/Clients/InSApps" / node;
}

void AppsProject::AddExistingApp(const std::string& app) const {
  PutFile(AppDir(app) / "tagname.x", "");
  PutFile(AppDir(app) / "Tag_Ext.X", "");
}

void AppsProject::SetRegistry(const std::string& reg_body) const {
  prefix_.AddFile("machine.reg", "REGEDIT4\r\n\r\n" + reg_body);
  Env::Default().Reset();
}

std::string AppsProject::AddShellApp(const std::string& name) const {
  const std::filesystem::path shell = project_.dir().path() / name;
  PutFile(shell / "Tagname.X", "shell dictionary");
  PutFile(shell / "Pictures" / "main.win", "window");
  return shell.string();
}

void AppsProject::SetAppQuery(const std::string& sql) const {
  RunSql(project_.db_path(),
         "UPDATE SavedQueries SET Sql = '" + sql + "' WHERE Name = 'qFTInTouchAppData'");
}

}  // namespace quellor::testing
