#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "apps/intouch_app.h"
#include "apps_fixture.h"
#include "run/run_state.h"
#include "tagdict/project_tags.h"
#include "testing/lock_holder.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using testing::AppsProject;
using ::testing::ElementsAre;
using testing::PutFile;
using testing::TempDir;

constexpr char kCopying[] = "        Copying InTouch shell application files";
constexpr char kManaged1[] =
    " - this application folder needs to be populated by publishing an application from the "
    "ArchestrA IDE";
constexpr char kManaged2[] =
    " - when there is an application here the build will update the published application";
constexpr char kNoDDECfg[] = "        No existing Access Name data";
constexpr char kSuiteKey[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Holdrane\\Corvane]\r\n";

std::string RegValue(const std::string& name, const std::string& value) {
  return "\"" + name + "\"=\"" + value + "\"\r\n";
}

class AppFolderTest : public ::testing::Test {
 protected:
  // The prepared application, or null when its preparation was refused.
  std::unique_ptr<CInTApp> Prepare(const std::string& name,
                                   std::optional<std::string_view> folder_override = {}) {
    ProjAccName_T row{"AN1", "T1", "SCADA1", "", "PelnetData"};
    return CInTApp::PrepareAppFolder(project_.ProjectDir(), project_.FactorySuiteDir(),
                                     project_.ClientsDir(), name, row, "View", folder_override);
  }
  void UseShell(const std::string& folder) {
    project_.SetRegistry(kSuiteKey + RegValue("InTShellApp", folder));
  }
  std::vector<std::string> Lines() const { return project_.capture().lines(); }

  AppsProject project_;
};

TEST_F(AppFolderTest, FirstBuildCopiesTheShellApplicationWithItsSubfolders) {
  UseShell(project_.AddShellApp("shell"));
  const auto app = Prepare("A");
  ASSERT_NE(app, nullptr);
  EXPECT_TRUE(std::filesystem::exists(project_.AppDir("A") / "Tagname.X"));
  EXPECT_TRUE(std::filesystem::exists(project_.AppDir("A") / "Pictures" / "main.win"));
  EXPECT_THAT(Lines(), ElementsAre("Creating InTouch application folder A", kCopying, kNoDDECfg));
  EXPECT_EQ(app->AppPath(), project_.ClientsDir() + "\\InTApps\\A");
  ASSERT_EQ(app->ClientList().size(), 1u);
  EXPECT_EQ(app->ClientList()[0].ClientAppName, "View");
  EXPECT_EQ(app->AccNames().GetSourceName(0), "AN1");
}

TEST_F(AppFolderTest, ManagedFolderIsCreatedEmptyThenRefusedWhileNothingIsPublished) {
  TheRunState().g_ManagedApps = 1;
  EXPECT_NE(Prepare("A"), nullptr);
  EXPECT_TRUE(std::filesystem::is_empty(project_.AppDir("A")));
  EXPECT_THAT(Lines(), ElementsAre("Creating InTouch application folder A", kManaged1, kManaged2,
                                   kNoDDECfg));

  project_.capture().Clear();
  EXPECT_EQ(Prepare("A"), nullptr);
  EXPECT_THAT(Lines(),
              ElementsAre("Modifying existing InTouch application A ", kManaged1, kManaged2));
}

TEST_F(AppFolderTest, ExistingApplicationIsNeverCopiedOver) {
  UseShell(project_.AddShellApp("shell"));
  PutFile(project_.AppDir("A") / "Tagname.X", "published");  // "tagname.x" in any case
  EXPECT_NE(Prepare("A"), nullptr);
  EXPECT_FALSE(std::filesystem::exists(project_.AppDir("A") / "Pictures"));
  EXPECT_THAT(Lines(), ElementsAre("Modifying existing InTouch application A ", kNoDDECfg));
}

TEST_F(AppFolderTest, ExistingFolderWithoutApplicationGetsTheShell) {
  UseShell(project_.AddShellApp("shell"));
  std::filesystem::create_directories(project_.AppDir("A"));
  EXPECT_NE(Prepare("A"), nullptr);
  EXPECT_TRUE(std::filesystem::exists(project_.AppDir("A") / "Pictures" / "main.win"));
}

TEST_F(AppFolderTest, ApplicationOpenInTheEditorIsRefused) {
  project_.AddExistingApp("A");
  PutFile(project_.AppDir("A") / "AppEdit.LOK", "");
  EXPECT_EQ(Prepare("A"), nullptr);
  EXPECT_EQ(project_.capture().messages().back(),
            (ReportedMessage{
                "InTouch application A appears to be locked (appedit.lok exists) - aborting build",
                2, 1}));
}

TEST_F(AppFolderTest, FolderOverrideCopiesNothingAndLooksForTheLockThere) {
  const TempDir elsewhere;
  const std::string folder = elsewhere.path().string();
  EXPECT_NE(Prepare("A", folder), nullptr);
  EXPECT_TRUE(std::filesystem::is_directory(project_.AppDir("A").parent_path()));
  EXPECT_FALSE(std::filesystem::exists(project_.AppDir("A")));
  EXPECT_THAT(Lines(), ElementsAre("Modifying existing InTouch application A ", kNoDDECfg));

  PutFile(elsewhere.path() / "appedit.lok", "");
  EXPECT_EQ(Prepare("A", folder), nullptr);
}

// Which shell folder the version picks, told by the marker file copied from it.
TEST_F(AppFolderTest, InstalledVersionChoosesTheShellApplication) {
  struct Case {
    const char* version;  // null: no InTouch key at all
    std::vector<std::string> values;
    std::string chosen;
  };
  const std::vector<Case> cases = {
      {"10.2",
       {"InTShellApp_10p5", "InTShellApp_10p0", "InTShellApp_9p5", "InTShellApp"},
       "InTShellApp_10p0"},
      {"10.2", {"InTShellApp_10p5", "InTShellApp_9p5", "InTShellApp"}, "InTShellApp_9p5"},
      {"10.2", {"InTShellApp"}, "InTShellApp"},
      {"10.5", {"InTShellApp_10p5", "InTShellApp_10p0", "InTShellApp"}, "InTShellApp_10p5"},
      {" 9.5x", {"InTShellApp_10p0", "InTShellApp_9p5", "InTShellApp"}, "InTShellApp_9p5"},
      {"unknown", {"InTShellApp_9p5", "InTShellApp"}, "InTShellApp"},
      {nullptr, {"InTShellApp_10p5", "InTShellApp_9p5", "InTShellApp"}, "InTShellApp"},
  };
  int count = 0;
  for (const Case& c : cases) {
    std::string reg = kSuiteKey;
    for (const std::string& value : c.values) {
      const std::string shell = project_.AddShellApp("shell" + std::to_string(count) + value);
      PutFile(std::filesystem::path(shell) / (value + ".mark"), "");
      reg += RegValue(value, shell);
    }
    if (c.version != nullptr) {
      reg += "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wonderware\\InTouch\\Installation]\r\n" +
             RegValue("Version", c.version);
    }
    project_.SetRegistry(reg);
    const std::string app = "App" + std::to_string(count++);
    EXPECT_NE(Prepare(app), nullptr) << app;
    EXPECT_TRUE(std::filesystem::exists(project_.AppDir(app) / (c.chosen + ".mark")))
        << "version " << (c.version ? c.version : "none") << " should pick " << c.chosen;
  }
}

TEST_F(AppFolderTest, ShellApplicationThatCannotBeFoundRefusesTheNewFolder) {
  const std::string missing = project_.ProjectDir() + "/noshell";
  struct Case {
    std::string reg;
    std::vector<ReportedMessage> errors;
  };
  const std::vector<Case> cases = {
      {"", {{"Failed to open registry key SOFTWARE\\Holdrane\\Corvane", 2, 1}}},
      {kSuiteKey,
       {{"Failed to read registry value SOFTWARE\\Holdrane\\Corvane\\InTShellApp", 2, 1}}},
      {kSuiteKey + RegValue("ManagedAppfile", "x"),
       {{"The application folder will remain empty, use the ArchestrA IDE and \"Talveron Project "
         "Link\" dialog to make/edit/publish a new application",
         2, 1}}},
      {kSuiteKey + RegValue("InTShellApp", missing),
       {{"Failed to copy " + missing + "\\*.* to " + project_.AppPath("A3"), 2, 1},
        {"Failed to copy shell application to InTouch application", 2, 1}}},
  };
  int count = 0;
  for (const Case& c : cases) {
    project_.SetRegistry(c.reg);
    project_.capture().Clear();
    const std::string app = "A" + std::to_string(count++);
    EXPECT_EQ(Prepare(app), nullptr) << app;
    std::vector<ReportedMessage> errors;
    for (const ReportedMessage& m : project_.capture().messages()) {
      if (m.level == 2) errors.push_back(m);
    }
    EXPECT_EQ(errors, c.errors) << app;
  }
}

TEST_F(AppFolderTest, HistoryInTheApplicationFolderWarnsAboutPathsOver50Characters) {
  // P:\FactorySuite\Clients\InTApps\ is 32 characters.
  project_.MapDrive('p');
  for (const std::string& name : {std::string(18, 'h'), std::string(19, 'l')}) {
    project_.capture().Clear();
    project_.AddExistingApp(name);
    PutFile(project_.AppDir(name) / "DHistCfg.ini", "[History]\r\nbUseAppDir=1\r\n");
    ProjAccName_T row{"AN1", "T1", "SCADA1", "", "PelnetData"};
    const auto app = CInTApp::PrepareAppFolder(
        "P:", "P:\\FactorySuite", "P:\\FactorySuite\\Clients", name, row, "View", std::nullopt);
    ASSERT_NE(app, nullptr);
    const ReportedMessage warning{
        "InTouch application path too long for historical "
        "logging, see Special->Configure->Historical Logging... "
        "in WindowMaker",
        1, 0};
    const auto& messages = project_.capture().messages();
    const bool warned = std::find(messages.begin(), messages.end(), warning) != messages.end();
    EXPECT_EQ(warned, app->AppPath().size() == 51) << app->AppPath();
  }
}

TEST_F(AppFolderTest, BuildHoldsTheFolderLockUntilItEnds) {
  project_.AddExistingApp("A");
  const auto app = Prepare("A");
  ASSERT_NE(app, nullptr);
  const std::string host = std::filesystem::canonical(project_.AppDir("A")).string();
  EXPECT_TRUE(ProcessHoldsPathLock(host));
  ProjectTags project;
  app->BuildApp(std::nullopt, project);
  EXPECT_TRUE(std::filesystem::exists(project_.AppDir("A") / "DDE.CFG"));
  EXPECT_FALSE(ProcessHoldsPathLock(host));
}

// Whether a thread of this process waits for a flock, as /proc/locks shows a blocked request.
bool ProcessWaitsForALock() {
  std::ifstream locks("/proc/locks");
  const std::string pid = " " + std::to_string(getpid()) + " ";
  for (std::string line; std::getline(locks, line);) {
    if (line.find("-> FLOCK") != std::string::npos && line.find(pid) != std::string::npos) {
      return true;
    }
  }
  return false;
}

TEST_F(AppFolderTest, SecondBuildOfAnApplicationWaitsForTheFirst) {
  project_.AddExistingApp("A");
  testing::LockHolder first_build(project_.AppDir("A"));
  std::thread second([this] {
    ProjectTags project;
    Prepare("A")->BuildApp(std::nullopt, project);
  });
  while (!ProcessWaitsForALock()) std::this_thread::yield();
  EXPECT_FALSE(std::filesystem::exists(project_.AppDir("A") / "DDE.CFG"));
  first_build.Release();
  second.join();
  EXPECT_TRUE(std::filesystem::exists(project_.AppDir("A") / "DDE.CFG"));
}

}  // namespace
}  // namespace quellor
