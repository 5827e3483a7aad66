#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/report.h"
#include "tagbrowser/archive_bytes.h"
#include "tagbrowser/project_filters.h"
#include "tagbrowser/project_remote_apps.h"
#include "tagbrowser/tag_brw.h"
#include "testing/status_matchers.h"

namespace quellor {
namespace {

using ::quellor::testing::IsOk;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using AccessName = ProjectAccessName;

// What the build does between the load and the store.
void MergeProject(CTagBrw& model, std::string_view project_dir,
                  const std::vector<AccessName>& access_names,
                  const std::vector<FilterRow>& filter_rows) {
  MergeProjectRemoteApps(model, project_dir, access_names);
  model.ProjectFilterNames = FilterNamesFromRows(filter_rows);
  MergeProjectFilters(model);
}

std::vector<std::string> Names(const CTagBrw& model) {
  std::vector<std::string> names;
  for (const CRemoteApp& app : model.RemoteApps) names.push_back(app.Name);
  return names;
}

TEST(ProjectFilters, NameEachGroupOnceAndEachMemberThatDiffersFromThePreviousRow) {
  const struct {
    std::vector<FilterRow> rows;
    std::vector<std::string> names;
  } cases[] = {
      {{{"Area1", "PumpA"}, {"Area1", "PumpB"}, {"Area2", "PumpB"}, {"Area2", "PumpB"}},
       {"Area1/*", "Area1/PumpA", "Area1/PumpB", "Area2/*", "Area2/PumpB"}},
      // A member is compared with the previous row's member only.
      {{{"Area1", "PumpA"}, {"Area1", "PumpB"}, {"Area2", "PumpC"}, {"Area2", "PumpB"}},
       {"Area1/*", "Area1/PumpA", "Area1/PumpB", "Area2/*", "Area2/PumpC", "Area2/PumpB"}},
      {{{"Area1", "PumpA"}, {"Area2", "PumpA"}, {"Area1", "PumpA"}},
       {"Area1/*", "Area1/PumpA", "Area2/*", "Area2/PumpA", "Area1/*", "Area1/PumpA"}},
      // Groups compare with case; an empty group equal to the starting one adds its member.
      {{{"area1", "P"}, {"AREA1", "P"}}, {"area1/*", "area1/P", "AREA1/*", "AREA1/P"}},
      {{{"", "P"}, {"", ""}}, {"/P", "/"}},
      {{}, {}},
  };
  ScopedReportCapture capture;
  for (const auto& c : cases) EXPECT_THAT(FilterNamesFromRows(c.rows), ElementsAreArray(c.names));
  EXPECT_TRUE(capture.messages().empty());
}

TEST(ProjectFilters, RowWithAMissingValueIsReportedAndSkippedWithoutBecomingThePreviousRow) {
  const std::vector<FilterRow> rows = {
      {"Area1", "PumpA"}, {std::nullopt, "PumpB"}, {"Area1", std::nullopt}, {"Area1", "PumpA"}};
  ScopedReportCapture capture;
  EXPECT_THAT(FilterNamesFromRows(rows), ElementsAre("Area1/*", "Area1/PumpA"));
  EXPECT_EQ(capture.messages(),
            (std::vector<ReportedMessage>{{"Query qFTFilter has invalid record", 2, 1},
                                          {"Query qFTFilter has invalid record", 2, 1}}));
}

TEST(ProjectRemoteApps, OnlyPelnetDataAccessNamesOtherThanDummyQualify) {
  const struct {
    AccessName name;
    bool qualifies;
  } cases[] = {
      {{"TANK1", "T", "PelnetData"}, true},  {{"TANK1", "T", "pelnetdata"}, true},
      {{"TANK1", "T", "View"}, false},       {{"TANK1", "T", "PelnetData2"}, false},
      {{"dUMMY", "T", "PelnetData"}, false}, {{"TANK1", "DUMMY", "PelnetData"}, false},
      {{"Dummy1", "T", "PelnetData"}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsProjectRemoteApp(c.name.source_name, c.name.topic_name, c.name.application_name),
              c.qualifies)
        << c.name.source_name << "/" << c.name.topic_name << "/" << c.name.application_name;
  }
}

TEST(ProjectRemoteApps, TextsNameTheAccessNameAtTheProjectFolder) {
  EXPECT_EQ(MakeProjectRemoteApp("C:\\PROJ", "N1"),
            (CRemoteApp{"N1", "C:\\PROJ (N1)", "N1", "PelnetData",
                        "{7C42E0DC-3FAC-4ED2-AAFF-599044A1949D}"}));
}

TEST(MergeRemoteApp, InsertsByByteOrderSoUpperCaseSortsFirst) {
  CTagBrw model;
  MergeProject(model, "C:\\PROJ",
               {{"TANK2", "T", "PelnetData"},
                {"Tank1", "T", "PelnetData"},
                {"Dummy", "T", "PelnetData"},
                {"View1", "T", "View"},
                {"tank0", "T", "pelnetdata"}},
               {});
  EXPECT_THAT(Names(model), ElementsAre("TANK2", "Tank1", "tank0"));
  EXPECT_EQ(model.RemoteApps.back().ApplicationName, "PelnetData");
}

TEST(MergeRemoteApp, ReplacesTheTextsOfTheFirstElementOfThatNameInPlace) {
  CTagBrw model;
  for (const char* name : {"A", "M", "Z", "B"}) {  // a user's list, not in order
    model.RemoteApps.push_back(CRemoteApp{name, "loc", "acc", "app", "guid"});
  }
  model.MergeRemoteApp(MakeProjectRemoteApp("C:\\P", "M"));
  model.MergeRemoteApp(MakeProjectRemoteApp("C:\\P", "N"));   // before Z
  model.MergeRemoteApp(MakeProjectRemoteApp("C:\\P", "Zz"));  // sorts after every element: tail
  model.MergeRemoteApp(MakeProjectRemoteApp("C:\\P", "m"));   // lower case sorts last: tail
  EXPECT_THAT(Names(model), ElementsAre("A", "M", "N", "Z", "B", "Zz", "m"));
  EXPECT_EQ(*std::next(model.RemoteApps.begin()), MakeProjectRemoteApp("C:\\P", "M"));
}

TEST(MergeFilter, ReplacesTheFilterOfAProjectKeyAndLeavesOtherKeys) {
  CTagBrw model;
  model.MergeFilter(std::make_unique<CUserTagFilter>(
      CUserTagFilter{"Area1/*", "t2", "t3", "user text", "t5", "t6"}));
  model.MergeFilter(
      std::make_unique<CUserTagFilter>(CUserTagFilter{"Mine", "t2", "t3", "x", "t5", "t6"}));
  MergeProject(model, "C:\\P", {}, {{"Area1", "PumpA"}});
  ASSERT_EQ(model.Filters.size(), 3u);
  EXPECT_EQ(*model.Filters.Find("Area1/*"), (CUserTagFilter{"Area1/*", "", "", "Area1/*", "", ""}));
  EXPECT_EQ(*model.Filters.Find("Area1/PumpA"),
            (CUserTagFilter{"Area1/PumpA", "", "", "Area1/PumpA", "", ""}));
  EXPECT_EQ(*model.Filters.Find("Mine"), (CUserTagFilter{"Mine", "t2", "t3", "x", "t5", "t6"}));
}

TEST(TagBrwBuild, BuildingTwiceFromTheSameProjectStoresTheSameBytes) {
  const std::vector<AccessName> names = {{"TANK2", "T", "PelnetData"},
                                         {"Tank1", "T", "PelnetData"}};
  const std::vector<FilterRow> rows = {{"Area2", "P"}, {"Area1", "P"}};
  CTagBrw user_file;
  user_file.HeaderText = "browser";
  user_file.HeaderValue1 = 5;
  user_file.RemoteApps.push_back(CRemoteApp{"User", "l", "a", "View", "g"});
  user_file.MergeFilter(
      std::make_unique<CUserTagFilter>(CUserTagFilter{"Mine", "", "", "x", "", ""}));
  const std::vector<std::uint8_t> original = user_file.Store();

  std::vector<std::uint8_t> stored[2];
  std::vector<std::uint8_t> input = original;
  for (auto& out : stored) {
    CTagBrw model;
    ASSERT_THAT(model.Load(input), IsOk());
    MergeProject(model, "C:\\PROJ", names, rows);
    out = model.Store();
    input = out;
  }
  EXPECT_NE(stored[0], original);
  EXPECT_EQ(stored[1], stored[0]);
}

}  // namespace
}  // namespace quellor
