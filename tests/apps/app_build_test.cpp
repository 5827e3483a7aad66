// The build of one HMI application after discovery: which client applications build the
// dictionary or set Always Advise, and the steps that run whatever the others did.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "apps/client_apps.h"
#include "apps_fixture.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

namespace fs = std::filesystem;
using testing::AppsProject;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::PutFile;
using testing::ReadFile;

const fs::path kShell = fs::path(QUELLOR_PLANT_DIR) / "shell";

std::vector<std::string> TextsAtLevel(const AppsProject& project, int level) {
  std::vector<std::string> texts;
  for (const ReportedMessage& message : project.capture().messages()) {
    if (message.level == level) texts.push_back(message.text);
  }
  return texts;
}

// A project whose applications already exist, on a machine whose HMI keeps AppList.INI in
// the project folder's "InTouch" sub-folder.
class AppBuildTest : public ::testing::Test {
 protected:
  AppBuildTest()
      : project_(
            "INSERT INTO AccessNames VALUES"
            " ('AN1', 'T1', 'SCADA1', NULL, 'PelnetData'),"
            " ('AN2', 'T2', 'OPS1', NULL, 'RecipeMgr');") {
    project_.SetAppQuery(testing::kAppsBySeq);
    fs::create_directories(AppList().parent_path());
    project_.SetRegistry(
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wonderware\\InTouch\\Installation]\r\n"
        "\"InstallPath\"=\"" +
        AppList().parent_path().string() + "\"\r\n");
  }

  // Adds each application (existing) with its records "(app, client, access name)".
  void AddApps(const std::vector<std::string>& apps, const std::string& records) {
    for (const std::string& app : apps) {
      project_.Run("INSERT INTO InTouchAppNames VALUES ('" + app + "')");
      project_.AddExistingApp(app);
    }
    project_.Run("INSERT INTO ClientAppAccessNames VALUES " + records);
  }
  void Build(std::optional<std::string_view> filter = {},
             std::optional<std::string_view> folder = {}) {
    const CClientApps apps(project_.ProjectDir(), project_.FactorySuiteDir(), project_.ClientsDir(),
                           filter, folder);
  }
  fs::path AppList() const { return fs::path(project_.ProjectDir()) / "InTouch" / "AppList.INI"; }

  AppsProject project_;
};

TEST_F(AppBuildTest, ViewIsRecognisedWithoutRegardToCaseButNotAsAPrefix) {
  AddApps({"A", "B", "C"}, "('A','VIEW','AN1',1), ('B','view','AN1',2), ('C','Viewer','AN1',3)");
  Build();
  EXPECT_TRUE(fs::exists(project_.AppDir("A") / "Tagnames.NDX"));
  EXPECT_TRUE(fs::exists(project_.AppDir("B") / "Tagnames.NDX"));
  EXPECT_FALSE(fs::exists(project_.AppDir("C") / "Tagnames.NDX"));
  EXPECT_EQ(fs::file_size(project_.AppDir("C") / "tagname.x"), 0U);
  EXPECT_THAT(TextsAtLevel(project_, 1), ElementsAre("No View application configured for C"));
  EXPECT_THAT(TextsAtLevel(project_, 2), IsEmpty());
}

TEST_F(AppBuildTest, RecipeOnlyApplicationIsWarnedAboutButGetsEveryOtherOutput) {
  AddApps({"R"}, "('R','Recipe','AN1',1), ('R','Recipe','AN2',2)");
  const std::string shell_browser = ReadFile(kShell / "TagBrw.DAT");
  PutFile(project_.AppDir("R") / "TagBrw.DAT", shell_browser);
  Build();

  EXPECT_THAT(project_.capture().messages(),
              Contains(ReportedMessage{"No View application configured for R", 1, 0}));
  EXPECT_FALSE(fs::exists(project_.AppDir("R") / "Tagnames.NDX"));
  EXPECT_EQ(fs::file_size(project_.AppDir("R") / "tagname.x"), 0U);
  const std::string dde_cfg = ReadFile(project_.AppDir("R") / "DDE.CFG");
  EXPECT_THAT(dde_cfg, HasSubstr("Always Advise:\t\t1"));
  EXPECT_THAT(dde_cfg, Not(HasSubstr("Always Advise:\t\t0")));
  // The "PelnetData" access name became a remote application of the tag browser.
  EXPECT_NE(ReadFile(project_.AppDir("R") / "TagBrw.DAT"), shell_browser);
  EXPECT_THAT(project_.capture().lines(),
              Contains("        Created file " + project_.AppPath("R") + "\\TagBrw.DAT"));
  EXPECT_THAT(ReadFile(AppList()), HasSubstr("App00000=" + project_.AppPath("R") + "\r\n"));
}

TEST_F(AppBuildTest, ViewThenRecipeWritesPointsAndAlwaysAdviseIntoTheOneDdeCfg) {
  project_.Run(
      "INSERT INTO Tags VALUES ('FT1', NULL);"
      "INSERT INTO TrendData (TagName, FieldName, SubfieldName, FixFldName, RecordType,"
      " FldRenderedType, FixFldRenderedType, FullDesc, Units, HiRange, LoRange, Logged,"
      " InTouchTrend, HistorianTrend, Seq)"
      " VALUES ('FT1', 'PV', '', '', 'FldTag', 8, 0, 'Flow', 'm3/h', 50, 0, 1, 1, 1, 1);");
  AddApps({"U"}, "('U','View','AN1',1), ('U','Recipe','AN2',2)");
  Build();
  const std::string dde_cfg = ReadFile(project_.AppDir("U") / "DDE.CFG");
  const std::size_t an2 = dde_cfg.find("AN2");
  ASSERT_NE(an2, std::string::npos) << dde_cfg;
  // AN1 (the View client's) keeps Always Advise off; AN2 (the Recipe client's) has it on.
  EXPECT_THAT(dde_cfg.substr(0, an2), HasSubstr("Always Advise:\t\t0"));
  EXPECT_THAT(dde_cfg.substr(an2), HasSubstr("Always Advise:\t\t1"));
  EXPECT_TRUE(fs::exists(project_.AppDir("U") / "Tagnames.NDX"));
  EXPECT_THAT(TextsAtLevel(project_, 2), IsEmpty());
}

TEST_F(AppBuildTest, StaleAvlFileIsRemovedOnEveryBuildAndAFailedDictionaryStopsNoOtherStep) {
  AddApps({"A"}, "('A','View','AN1',1)");
  const fs::path avl = project_.AppDir("A") / "Tagname.avl";
  PutFile(avl, "stale");
  Build();
  EXPECT_FALSE(fs::exists(avl));
  EXPECT_THAT(TextsAtLevel(project_, 2), IsEmpty());

  // Without its companion file the dictionary cannot open; the later steps still run.
  PutFile(avl, "stale again");
  fs::remove(project_.AppDir("A") / "Tag_Ext.X");
  fs::remove(AppList());
  project_.capture().Clear();
  Build();
  EXPECT_FALSE(fs::exists(avl));
  EXPECT_THAT(TextsAtLevel(project_, 2),
              ElementsAre("Failed to open " + project_.AppPath("A") + "\\Tag_Ext.X"));
  EXPECT_THAT(project_.capture().lines(),
              Contains("        Created file " + project_.AppPath("A") + "\\DDE.CFG"));
  EXPECT_THAT(ReadFile(AppList()), HasSubstr("App00000=" + project_.AppPath("A") + "\r\n"));
}

TEST_F(AppBuildTest, FolderOverrideBuildsThereAndLeavesTheApplicationListAlone) {
  AddApps({"A"}, "('A','View','AN1',1)");
  const fs::path elsewhere = fs::path(project_.ProjectDir()) / "Elsewhere";
  PutFile(elsewhere / "Tagname.X", "");
  PutFile(elsewhere / "Tag_Ext.X", "");
  Build("A", elsewhere.string());
  EXPECT_TRUE(fs::exists(elsewhere / "Tagnames.NDX"));
  EXPECT_TRUE(fs::exists(elsewhere / "DDE.CFG"));
  EXPECT_FALSE(fs::exists(project_.AppDir("A") / "DDE.CFG"));
  EXPECT_FALSE(fs::exists(AppList()));
}

}  // namespace
}  // namespace quellor
