#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "accessnames/acc_names.h"
#include "dictionary_files.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::TempDir;
using testing::TestTag;

TEST(ReportTagStatistics, CountsTagsByNamePrefixMembersAndTypeInItsExactLines) {
  TempDir dir;
  testing::WriteDictionary(
      dir.path(),
      {TestTag{.name = "$Sys", .type = 213, .members = {2}},
       TestTag{.name = "$Sys\\M", .type = 204},
       TestTag{.name = "ZZSuper", .type = 204, .members = {4}},
       TestTag{.name = "ZZSuper\\Io", .type = 206}, TestTag{.name = "ZZOther", .type = 217},
       std::nullopt, TestTag{.name = "Zz", .type = 208}, TestTag{.name = "Plain", .type = 0}});
  CAccNames names;
  TagDictOptions options{.folder = dir.path().string(), .access_names = &names};
  ScopedReportCapture capture;
  {
    CTagDict dict(options);
    TagDictCounters& c = dict.counters();
    c = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  }
  const std::string tag_path = dir.path().string() + "\\Tagname.X";
  EXPECT_THAT(
      capture.lines(),
      ElementsAreArray(std::vector<std::string>{
          "        File " + tag_path + " created with 7 entries (max = 60000)",
          "                Tagname.X file analysis",
          "                        Total tags = 7",
          "                        InTouch system tags = 2",
          "                        Corvane system tags - Total = 3,  Super = 1,  IO = 1,  Other = "
          "1",
          "                        Project tags - Total = 2,  Super = 0,  IO = 1,  Other = 1",
          "                Corvane DB processing statistics",
          "                        Corvane project DB tags processed - Total = 1, Super = 2, IO = "
          "3",
          "                        Corvane project DB tags created Total  = 4, Super = 5, IO = 6",
          "                        Corvane project DB tags modified - Total = 7, Super = 8, IO = 9",
      }));
}

TEST(ReportTagStatistics, ListsTheApplicationsUnprocessedTagsInRecordOrder) {
  TempDir dir;
  std::vector<std::optional<TestTag>> records;
  for (int n = 1; n <= 40; ++n) {
    records.push_back(
        TestTag{.name = "T" + std::to_string(n), .type = 204, .access_name = n % 2 ? 3 : 4});
  }
  testing::WriteDictionary(dir.path(), records);
  CAccNames names;
  AccName_T mine;
  mine.SourceName = "Mine";
  mine.DDESourceID = 3;
  names.AppendRecord(std::move(mine));
  TagDictOptions options{
      .folder = dir.path().string(), .access_names = &names, .app_access_names = {0}};
  ScopedReportCapture capture;
  {
    CTagDict dict(options);
    for (int n = 1; n <= 40; ++n) {
      if (n != 7) dict.tag_index()->Find("T" + std::to_string(n))->Processed = 1;
    }
  }
  std::vector<std::string> lines = capture.lines();
  ASSERT_EQ(lines.size(), 14u);
  const std::vector<std::string> tail(lines.end() - 4, lines.end());
  EXPECT_THAT(tail,
              ElementsAre("                The following tags have access names to a PelnetData "
                          "IO server, but were not processed this build.",
                          "                This may imply they been deselected for InTouch "
                          "trending within the Corvane project DB and",
                          "                should be removed from the InTouch tag dictionary.",
                          "                        T7"));

  // Tags of other access names and processed tags are never listed; unprocessed ones in
  // ascending record number.
  capture.Clear();
  { CTagDict dict(options); }
  lines = capture.lines();
  ASSERT_GE(lines.size(), 13u);
  const std::vector<std::string> listed(lines.begin() + 13, lines.end());
  std::vector<std::string> expected;
  for (int n = 1; n <= 40; n += 2)
    expected.push_back("                        T" + std::to_string(n));
  EXPECT_THAT(listed, ElementsAreArray(expected));

  capture.Clear();
  {
    CTagDict dict(options);
    dict.tag_index()->ForEach([](std::string_view, TagIdxData_T& entry) { entry.Processed = 1; });
  }
  EXPECT_EQ(capture.lines().size(), 10u);
}

TEST(ReportTagStatistics, IsNotReportedForAFreshDictionary) {
  TempDir dir;
  testing::WriteFile(dir.path() / "Tagname.X", "");
  testing::WriteFile(dir.path() / "Tag_Ext.X", "");
  CAccNames names;
  ScopedReportCapture capture;
  { CTagDict dict(TagDictOptions{.folder = dir.path().string(), .access_names = &names}); }
  EXPECT_THAT(capture.lines(), ElementsAre("        File " + dir.path().string() +
                                           "\\Tagname.X created with 0 entries (max = 60000)"));
}

}  // namespace
}  // namespace quellor
