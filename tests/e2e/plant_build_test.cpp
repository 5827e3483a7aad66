// The built quellor on the sample plant, end to end: every output file and the whole console
// transcript of a first build, a second build without change, a build after project changes,
// and the runs that build less (a locked application, one application into another folder,
// an old-format dictionary). Expected files: tests/e2e/expected/plant (see plant_machine.h).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "plant_machine.h"

namespace quellor {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAreArray;
using testing::FileTree;
using ::testing::HasSubstr;
using testing::PlantMachine;
using testing::RunResult;

const std::vector<std::string> kApps = {"Packaging", "Unit1", "Unit2"};

std::vector<std::string> Names(const FileTree& tree) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : tree) names.push_back(name);
  return names;
}

// Same files with the same bytes; a difference names the file and its first differing offset.
void ExpectSameTree(const FileTree& actual, const FileTree& expected) {
  EXPECT_THAT(Names(actual), ElementsAreArray(Names(expected)));
  for (const auto& [name, bytes] : expected) {
    const auto found = actual.find(name);
    if (found == actual.end() || found->second == bytes) continue;
    const std::string& got = found->second;
    std::size_t at = 0;
    while (at < got.size() && at < bytes.size() && got[at] == bytes[at]) ++at;
    ADD_FAILURE() << name << " differs from offset " << at << " (sizes " << got.size() << ", "
                  << bytes.size() << ")";
  }
}

// A run that ends normally with nothing on standard error and the expected transcript.
void ExpectTranscript(const RunResult& result, const std::string& expected_name) {
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, testing::Expected(expected_name, result.out));
}

std::string TagFile(const std::string& app) {
  return "Projects/Plant/FactorySuite/Clients/InTApps/" + app + "/Tagname.X";
}

// Every plant build runs twice: with the project's saved queries in SQLite SQL, and in
// Access SQL translated by the library; both give the same transcripts and files.
class PlantBuild : public ::testing::TestWithParam<testing::PlantQueries> {
 protected:
  PlantMachine plant_{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Queries, PlantBuild,
                         ::testing::Values(testing::PlantQueries::kSqlite,
                                           testing::PlantQueries::kAccess),
                         [](const ::testing::TestParamInfo<testing::PlantQueries>& info) {
                           return info.param == testing::PlantQueries::kSqlite ? "SqliteSql"
                                                                               : "AccessSql";
                         });

TEST_P(PlantBuild, FirstBuildWritesEveryOutputAndTranscriptExactly) {
  ExpectTranscript(plant_.Build(), "first_build.txt");
  const FileTree outputs = plant_.Outputs();
  ExpectSameTree(outputs, testing::ExpectedTree("first", outputs));
  for (const std::string& app : kApps) EXPECT_EQ(testing::SaveCount(outputs.at(TagFile(app))), 1);
}

// The dictionary after a build without change: the save count one higher, and every used
// record that had no alarm group given the "$System" alarm group (record 1 of the shell's
// dictionary) by the load's repair; the merge itself gives new tags none.
std::string AfterUnchangedBuild(std::string tag_file, int save_count) {
  constexpr std::size_t kRecord = 1024;
  constexpr std::size_t kAlarmGroup = 296;
  for (std::size_t at = kRecord; at + kRecord <= tag_file.size(); at += kRecord) {
    if (tag_file[at] != '\0' && tag_file.compare(at + kAlarmGroup, 4, std::string(4, '\0')) == 0) {
      tag_file[at + kAlarmGroup] = 1;
    }
  }
  return testing::WithSaveCount(std::move(tag_file), save_count);
}

TEST_P(PlantBuild, BuildsWithoutChangeReportNoChangeAndRewriteTheSameBytes) {
  ASSERT_EQ(plant_.Build().exit_code, 0);
  const FileTree first = plant_.Outputs();
  const RunResult second = plant_.Build();
  ExpectTranscript(second, "second_build.txt");
  EXPECT_THAT(second.out, ::testing::Not(HasSubstr("changed")));

  FileTree expected = first;
  for (const std::string& app : kApps) {
    expected[TagFile(app)] = AfterUnchangedBuild(first.at(TagFile(app)), 2);
  }
  ExpectSameTree(plant_.Outputs(), expected);

  // From then on only the save count moves.
  EXPECT_EQ(plant_.Build().out, second.out);
  for (const std::string& app : kApps) {
    expected[TagFile(app)] = testing::WithSaveCount(expected[TagFile(app)], 3);
  }
  ExpectSameTree(plant_.Outputs(), expected);
}

TEST_P(PlantBuild, ProjectChangesBetweenBuildsGiveExactlyTheirMessages) {
  ASSERT_EQ(plant_.Build().exit_code, 0);
  // A tag's range, a removed member, and a block moved to the other area's server, which
  // moves its tags to that area's access name.
  plant_.RunSql(
      "UPDATE TrendData SET HiRange = 250 WHERE TagName = 'TIC101' AND FieldName = 'PV';"
      "DELETE FROM TrendData WHERE TagName = 'TIC101' AND FieldName = 'OUT';"
      "UPDATE Blocks SET NodeName = 'PN2' WHERE BlockId = 201;");
  ExpectTranscript(plant_.Build(), "changed_build.txt");
}

TEST_P(PlantBuild, RecipeClientsAccessNamesAreAlwaysAdvisedInDdeCfg) {
  ASSERT_EQ(plant_.Build().exit_code, 0);
  const std::string unit1 = testing::ReadFile(plant_.AppDir("Unit1") / "DDE.CFG");
  // Unit1's Recipe client uses RECIPES and PLC_AREA1; its View client also PLC_AREA1F.
  for (const char* name : {"RECIPES", "PLC_AREA1\r", "PLC_AREA1F"}) {
    const std::size_t at = unit1.find(std::string("Source Name:\t\t") + name);
    ASSERT_NE(at, std::string::npos) << name;
    const std::size_t advise = unit1.find("Always Advise:\t\t", at);
    ASSERT_NE(advise, std::string::npos) << name;
    EXPECT_EQ(unit1[advise + 16], name == std::string("PLC_AREA1F") ? '0' : '1') << name;
  }
  EXPECT_THAT(testing::ReadFile(plant_.AppDir("Unit2") / "DDE.CFG"),
              ::testing::Not(HasSubstr("Always Advise:\t\t1")));
}

TEST_P(PlantBuild, LockedApplicationIsRefusedWhileTheEarlierOnesAreBuilt) {
  ASSERT_EQ(plant_.Build().exit_code, 0);
  testing::WriteFile(plant_.AppDir("Unit1") / "appedit.lok", "");
  ExpectTranscript(plant_.Build(), "locked_build.txt");
  const FileTree outputs = plant_.Outputs();
  EXPECT_EQ(testing::SaveCount(outputs.at(TagFile("Packaging"))), 2);
  EXPECT_EQ(testing::SaveCount(outputs.at(TagFile("Unit1"))), 1);
  EXPECT_EQ(testing::SaveCount(outputs.at(TagFile("Unit2"))), 1);
}

TEST_P(PlantBuild, FolderOverrideBuildsOneApplicationAndNeverTouchesTheApplicationList) {
  fs::create_directories(plant_.OnDrive("Elsewhere"));
  fs::copy(plant_.OnDrive("Corvane/InTouchShell"), plant_.OnDrive("Elsewhere/U2"),
           fs::copy_options::recursive);
  const fs::path list = plant_.OnDrive("InTouch/AppList.INI");
  testing::WriteFile(list, "[InTouch]\r\nAppCount=0\r\n");
  const auto list_time = fs::last_write_time(list);

  ExpectTranscript(plant_.Run("C:\\Projects\\Plant\\Project.mdb,Unit2,C:\\Elsewhere\\U2"),
                   "override_build.txt");
  for (const char* file : {"DDE.CFG", "Tagname.X", "Tagnames.NDX", "TagBrw.DAT"}) {
    EXPECT_TRUE(fs::exists(plant_.OnDrive("Elsewhere/U2") / file)) << file;
  }
  EXPECT_EQ(testing::ReadFile(list), "[InTouch]\r\nAppCount=0\r\n");
  EXPECT_EQ(fs::last_write_time(list), list_time);
  EXPECT_FALSE(fs::exists(plant_.AppDir("Unit2")));
  EXPECT_FALSE(fs::exists(plant_.AppDir("Unit1")));
  EXPECT_FALSE(fs::exists(plant_.OnDrive("Projects/Plant/FactorySuite/Clients/InSApps")));
}

TEST_P(PlantBuild, OldFormatDictionaryEndsTheRunWithExitCodeOne) {
  ASSERT_EQ(plant_.Build().exit_code, 0);
  const fs::path unit1 = plant_.AppDir("Unit1") / "Tagname.X";
  std::string bytes = testing::ReadFile(unit1);
  bytes[4] = 8;  // the header's version
  testing::WriteFile(unit1, bytes);

  const RunResult result = plant_.Build();
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, testing::Expected("old_format_build.txt", result.out));
  EXPECT_TRUE(result.out.ends_with("Old format tag dictionary detected, exiting\n"));
  // Unit1's dictionary is left as it was, and Unit2 is not built.
  EXPECT_EQ(testing::ReadFile(unit1), bytes);
  EXPECT_EQ(testing::SaveCount(testing::ReadFile(plant_.AppDir("Unit2") / "Tagname.X")), 1);
}

}  // namespace
}  // namespace quellor
