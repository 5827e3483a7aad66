// A project of the apps tests: a real project database attached through the run's binding, a
// machine of its own, and the folders and registry a build of its applications reads.
#pragma once

#include <filesystem>
#include <string>

#include "report/report.h"
#include "testing/project_database.h"
#include "testing/temp_prefix.h"

namespace quellor::testing {

class AppsProject {
 public:
  explicit AppsProject(const std::string& sql = "");
  ~AppsProject();

  std::string ProjectDir() const { return project_.dir().path().string(); }
  std::string FactorySuiteDir() const { return ProjectDir() + "\\FactorySuite"; }
  std::string ClientsDir() const { return FactorySuiteDir() + "\\Clients"; }
  // The Windows-style path of an application's folder, and the host path.
  std::string AppPath(const std::string& app) const { return ClientsDir() + "\\InTApps\\" + app; }
  std::filesystem::path AppDir(const std::string& app) const;
  std::filesystem::path NodeDir(const std::string& node) const;

  // Makes the application's folder hold an application: an empty dictionary ("tagname.x"
  // with its companion "Tag_Ext.X"), which the build initialises.
  void AddExistingApp(const std::string& app) const;
  // A registry file of the machine, loaded afresh.
  void SetRegistry(const std::string& reg_body) const;
  // A shell application (a DDE.CFG-less template with a sub-folder) at `name` in the test folder,
  // returned as a host path.
  std::string AddShellApp(const std::string& name) const;
  // Replaces the saved query qFTInTouchAppData by `sql`.
  void SetAppQuery(const std::string& sql) const;
  void Run(const std::string& sql) const { project_.Run(sql); }
  // Maps the drive letter to the project folder, for short Windows paths into it.
  void MapDrive(char letter) const { prefix_.MapDrive(letter, project_.dir().path()); }

  ScopedReportCapture& capture() { return capture_; }
  const ScopedReportCapture& capture() const { return capture_; }

 private:
  TempPrefix prefix_;
  AttachedProject project_;
  ScopedReportCapture capture_;
};

// WriteFile, creating the file's folders first.
void PutFile(const std::filesystem::path& path, std::string_view bytes);

// The application records in the order of ClientAppAccessNames.Seq.
inline constexpr char kAppsBySeq[] =
    "SELECT c.InTouchAppName, c.ApplicationName, c.AccessName, a.MasterServerComputerName, "
    "a.StandbyServerComputerName, a.ServerApplication, a.Topic FROM ClientAppAccessNames AS c "
    "LEFT JOIN AccessNames AS a ON a.AccessName = c.AccessName ORDER BY c.Seq";

}  // namespace quellor::testing
