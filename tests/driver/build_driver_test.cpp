#include "driver/build_driver.h"

#include <gtest/gtest.h>

#include "report/report.h"
#include "run/run_state.h"
#include "testing/project_database.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {

using Messages = std::vector<ReportedMessage>;

const ReportedMessage kProduct{"Quellor - Quellorant", 0, 0};
const ReportedMessage kNotRequired{"Quellor - is not required for this project type", 0, 0};
const ReportedMessage kNoDb{"Failed to attach to db", 2, 1};

class BuildDriver : public ::testing::Test {
 protected:
  void TearDown() override { ResetRunState(); }

  // A project folder with a database whose build flag is `flag`.
  std::string MakeProject(bool flag) const {
    testing::CreateProjectDatabase(
        project_.path() / "Project.mdb",
        flag ? "INSERT INTO ProjectFlags VALUES (1);" : "INSERT INTO ProjectFlags VALUES (0);");
    return project_.path().string();
  }
  void WriteSettings(std::string_view bytes) const {
    testing::WriteFile(project_.path() / "ufolder.ini", bytes);
  }

  testing::TempPrefix prefix_;
  testing::ScopedEnv locale_{"LC_ALL", "C"};  // the comma, unless the registry says else
  testing::TempDir project_;
};

TEST_F(BuildDriver, RegistrationSwitchesAndBlankLinesEndWithoutAWord) {
  for (const char* line : {"/regserver", "/UnRegServer", " \t/REGSERVER\r\n", "", "   \t "}) {
    const ScopedReportCapture capture;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(RunBuild(line), 0) << line;
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << line;
    EXPECT_TRUE(capture.messages().empty()) << line;
  }
}

TEST_F(BuildDriver, ReportsTheBannerWithTheTrimmedUpperCasedLine) {
  const ScopedReportCapture capture;
  EXPECT_EQ(RunBuild("  c:\\nowhere\\project.mdb,unit1 100% \t"), 0);
  EXPECT_EQ(CmdLine(), "C:\\NOWHERE\\PROJECT.MDB,UNIT1 100%");
  EXPECT_EQ(capture.messages(),
            (Messages{{"C:\\NOWHERE\\PROJECT.MDB,UNIT1 100%", 0, 0}, kProduct, kNoDb}));
}

TEST_F(BuildDriver, NeverCutsALongCommandLine) {
  const std::string line = "C:\\" + std::string(400, 'P');
  const ScopedReportCapture capture;
  RunBuild(line);
  ASSERT_FALSE(capture.messages().empty());
  EXPECT_EQ(capture.messages()[0].text, line);
}

TEST_F(BuildDriver, AFalseFlagEndsAfterThreeMessages) {
  const std::string project = MakeProject(false);
  const ScopedReportCapture capture;
  EXPECT_EQ(RunBuild(project + "/project.mdb"), 0);
  EXPECT_EQ(capture.messages().size(), 3u);
  EXPECT_EQ(capture.messages()[2], kNotRequired);
}

TEST_F(BuildDriver, ATrueFlagPassesTheGate) {
  const std::string project = MakeProject(true);
  const ScopedReportCapture capture;
  EXPECT_EQ(RunBuild(project), 0);
  for (const ReportedMessage& message : capture.messages()) {
    EXPECT_NE(message, kNotRequired);
    EXPECT_NE(message, kNoDb);
  }
}

TEST_F(BuildDriver, ReadsManagedAppsOnlyForAOneFieldLine) {
  const std::string project = MakeProject(false);
  const struct {
    const char* settings;
    std::string line;
    int managed;
  } cases[] = {
      {"[Project]\r\nManagedApps=1\r\n", project, 1},
      {"[project]\nmanagedapps=\"1\"\n", project + "\\project.mdb", 1},
      {"[Project]\r\nManagedApps=1\r\n", project + ",UNIT1", 0},
      {"[Project]\r\nManagedApps=1\r\n", project + ",UNIT1,D:\\APPS", 0},
      {"[Project]\r\nManagedApps=1\r\n", project + ",A,B,C", 0},
      {"[Project]\r\nManagedApps=01\r\n", project, 0},
      {"[Project]\r\nManagedApps=yes\r\n", project, 0},
      {"[Other]\r\nManagedApps=1\r\n", project, 0},
      {"", project, 0},
  };
  for (const auto& c : cases) {
    WriteSettings(c.settings);
    const ScopedReportCapture capture;
    RunBuild(c.line);
    EXPECT_EQ(ManagedApps(), c.managed) << c.line << " with " << c.settings;
  }
}

TEST_F(BuildDriver, SplitsTheLineWithTheUsersListSeparator) {
  const std::string project = MakeProject(false);
  WriteSettings("[Project]\r\nManagedApps=1\r\n");
  const struct {
    const char* list_separator;  // nullptr: none in the registry
    std::string line;
    bool attached;
    int managed;  // read only for one field
  } cases[] = {
      {nullptr, project + ",UNIT1,D:\\X", true, 0}, {";", project + ";UNIT1;D:\\X", true, 0},
      {";", project + ",UNIT1,D:\\X", false, 0},  // one field naming no project
      {";", "\"" + project + "\"", true, 1},        {"|", project + "|U", true, 0},
  };
  for (const auto& c : cases) {
    prefix_.AddFile("locale.reg",
                    c.list_separator == nullptr
                        ? std::string("REGEDIT4\r\n")
                        : std::string("REGEDIT4\r\n\r\n"
                                      "[HKEY_CURRENT_USER\\Control Panel\\International]\r\n"
                                      "\"sList\"=\"") +
                              c.list_separator + "\"\r\n");
    const ScopedReportCapture capture;
    RunBuild(c.line);
    ASSERT_EQ(capture.messages().size(), 3u) << c.line;
    EXPECT_EQ(capture.messages()[2], c.attached ? kNotRequired : kNoDb) << c.line;
    EXPECT_EQ(ManagedApps(), c.managed) << c.line;
  }
}

TEST_F(BuildDriver, AnExistingFolderIsTheProjectEvenWithADotInItsPath) {
  const std::filesystem::path folder = project_.path() / "plant.v2";
  std::filesystem::create_directory(folder);
  testing::CreateProjectDatabase(folder / "Project.mdb", "INSERT INTO ProjectFlags VALUES (0);");
  const struct {
    std::string line;
    ReportedMessage last;
  } cases[] = {
      {folder.string(), kNotRequired},
      {folder.string() + "\\", kNotRequired},
      {folder.string() + "\\project.mdb", kNotRequired},
      // A path that names no folder keeps the file rule: its folder is .../plant.v2/proj's parent.
      {folder.string() + "/proj", kNotRequired},
      {(project_.path() / "plant.v3" / "proj").string(), kNoDb},
  };
  for (const auto& c : cases) {
    const ScopedReportCapture capture;
    ::testing::internal::CaptureStderr();
    RunBuild(c.line);
    ::testing::internal::GetCapturedStderr();
    ASSERT_FALSE(capture.messages().empty()) << c.line;
    EXPECT_EQ(capture.messages().back(), c.last) << c.line;
  }
}

TEST_F(BuildDriver, EachRunStartsFromAFreshState) {
  const std::string project = MakeProject(false);
  WriteSettings("[Project]\r\nManagedApps=1\r\n");
  {
    const ScopedReportCapture capture;
    RunBuild(project);
  }
  EXPECT_EQ(ManagedApps(), 1);
  const ScopedReportCapture capture;
  RunBuild("/REGSERVER");
  EXPECT_EQ(ManagedApps(), 0);
  EXPECT_EQ(CmdLine(), "/REGSERVER");
}

TEST(CommandLineTail, JoinsTheWordsWithSingleBlanksInWindows1252) {
  const struct {
    std::vector<std::string> words;
    std::string tail;
  } cases[] = {
      {{}, ""},
      {{"C:\\PROJ"}, "C:\\PROJ"},
      {{"C:\\MY", "PROJ,U", ""}, "C:\\MY PROJ,U "},
      {{"", "C:\\PROJ"}, " C:\\PROJ"},
      {{"/srv/Anlage \xC2\xB0"
        "C"},
       "/srv/Anlage \xB0"
       "C"},
      {{"\xE2\x82\xAC\xF0\x9F\x98\x80"}, "\x80?"},  // no byte for the emoji
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLineTail(c.words), c.tail) << c.tail;
}

}  // namespace
}  // namespace quellor
