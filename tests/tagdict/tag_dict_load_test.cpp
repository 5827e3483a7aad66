#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "accessnames/acc_names.h"
#include "dictionary_files.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

namespace tl = tag_layout;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::ReadFile;
using testing::TempDir;
using testing::TestTag;

TagDictOptions In(const TempDir& dir) { return TagDictOptions{.folder = dir.path().string()}; }

// A load of `records`; returns Tagname.X and Tag_Ext.X as the load left them.
struct Loaded {
  std::string tag_file;
  std::string companion;
  TagRec_T Record(std::int32_t n) const { return testing::RecordOf(tag_file, n); }
  std::string Companion(std::int32_t n) const { return testing::CompanionOf(companion, n); }
};

TEST(LoadTagDict, RebuildsTheFreeChainFromTheHighestFreeRecordDown) {
  TempDir dir;
  testing::WriteDictionary(dir.path(),
                           {TestTag{"A"}, TestTag{.name = "", .next_free = 0},
                            TestTag{.name = "B", .next_free = 4}, TestTag{"C"}, std::nullopt});
  // Stale bytes behind the first byte of a free record go.
  std::string tag_file = ReadFile(dir.path() / "Tagname.X");
  tag_file[2 * 1024 + 500] = 'x';
  testing::WriteFile(dir.path() / "Tagname.X", tag_file);
  CTagDict dict(In(dir));
  EXPECT_EQ(dict.free_head(), 5);
  EXPECT_EQ(dict.used_count(), 3);
  const Loaded after{ReadFile(dir.path() / "Tagname.X"), ReadFile(dir.path() / "Tag_Ext.X")};
  EXPECT_EQ(after.Record(5).NextFree(), 2);
  EXPECT_EQ(after.Record(2).NextFree(), 0);
  EXPECT_EQ(after.Record(3).NextFree(), 0);  // a used record's link is cleared
  TagRec_T free_record;
  free_record.SetI32(tl::kNextFree, 0);
  EXPECT_EQ(after.Record(2).bytes(), free_record.bytes());
  EXPECT_EQ(after.Companion(2), std::string(512, '\0'));
  EXPECT_EQ(after.Companion(5), std::string(512, '\0'));
  EXPECT_EQ(after.Companion(1), std::string(512, testing::kCompanionMarker));
}

TEST(LoadTagDict, FreesAMemberThatNoParentListsAndOnlyIt) {
  TempDir dir;
  testing::WriteDictionary(dir.path(),
                           {TestTag{.name = "A", .members = {3}}, TestTag{"A\\B"}, TestTag{"A\\C"},
                            TestTag{"D"}, TestTag{.name = "E", .members = {4}}});
  CTagDict dict(In(dir));
  const Loaded after{ReadFile(dir.path() / "Tagname.X"), ReadFile(dir.path() / "Tag_Ext.X")};
  EXPECT_TRUE(after.Record(2).IsFree());
  EXPECT_EQ(after.Companion(2), std::string(512, '\0'));
  EXPECT_EQ(after.Companion(1), std::string(512, testing::kCompanionMarker));
  EXPECT_EQ(after.Companion(3), std::string(512, testing::kCompanionMarker));
  EXPECT_EQ(dict.free_head(), 2);
  EXPECT_EQ(dict.tag_index()->Find("A\\B"), nullptr);
  EXPECT_EQ(testing::IndexEntryOf(dict, "A\\C"), (TagIdxData_T{3, 1, 0, 0}));
  // A member without the separator is never an orphan, listed or not.
  EXPECT_EQ(testing::IndexEntryOf(dict, "D"), (TagIdxData_T{4, 5, 0, 0}));
  EXPECT_EQ(testing::IndexEntryOf(dict, "E").ParentRecNo, 0);
}

TEST(LoadTagDict, FreesEveryMemberBelowAnOrphanAndUnlinksTheTagsOnlyItListed) {
  TempDir dir;
  // A\B lists A.B\C (which lists A.B.C\D) and E; X\Y and X\Z list each other, and no
  // top-level tag lists either; K lists K\L, which lists K.L\M.
  testing::WriteDictionary(
      dir.path(), {TestTag{.name = "A.B.C\\D"}, TestTag{.name = "A\\B", .members = {3, 4}},
                   TestTag{.name = "A.B\\C", .members = {1}}, TestTag{"E"},
                   TestTag{.name = "X\\Y", .members = {6}}, TestTag{.name = "X\\Z", .members = {5}},
                   TestTag{.name = "K", .members = {8}}, TestTag{.name = "K\\L", .members = {9}},
                   TestTag{"K.L\\M"}});
  CTagDict dict(In(dir));
  const Loaded after{ReadFile(dir.path() / "Tagname.X"), ReadFile(dir.path() / "Tag_Ext.X")};
  for (const std::int32_t n : {1, 2, 3, 5, 6}) {
    EXPECT_TRUE(after.Record(n).IsFree()) << n;
    EXPECT_EQ(after.Companion(n), std::string(512, '\0')) << n;
  }
  EXPECT_EQ(dict.used_count(), 4);
  EXPECT_EQ(dict.tag_index()->size(), 4u);
  EXPECT_EQ(testing::IndexEntryOf(dict, "E"), (TagIdxData_T{4, 0, 0, 0}));
  EXPECT_EQ(testing::IndexEntryOf(dict, "K.L\\M"), (TagIdxData_T{9, 8, 0, 0}));
}

TEST(LoadTagDict, ASecondRecordOfAnOrphansNameIsAnOrphanToo) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), {TestTag{"A\\B"}, TestTag{"X"}, TestTag{"A\\B"}});
  CTagDict dict(In(dir));
  const Loaded after{ReadFile(dir.path() / "Tagname.X"), ReadFile(dir.path() / "Tag_Ext.X")};
  EXPECT_TRUE(after.Record(1).IsFree());
  EXPECT_TRUE(after.Record(3).IsFree());
  EXPECT_EQ(dict.used_count(), 1);
  EXPECT_EQ(dict.free_head(), 3);
}

TEST(LoadTagDict, IgnoresMemberNumbersThatNameNoRecord) {
  TempDir dir;
  // Parent P lists 0, a number beyond the file, and its member; Q claims 65 members (every
  // slot to the end of the record) with its member in the last one.
  TestTag q{.name = "Q"};
  q.members.assign(65, -7);
  q.members[64] = 5;
  testing::WriteDictionary(dir.path(), {TestTag{.name = "P", .members = {0, 99999, -1, 3}}, q,
                                        TestTag{"P\\M"}, TestTag{"P\\N"}, TestTag{"Q\\Last"}});
  std::string tag_file = ReadFile(dir.path() / "Tagname.X");
  tag_file[2 * 1024 + 760] = tag_file[2 * 1024 + 761] = tag_file[2 * 1024 + 762] =
      tag_file[2 * 1024 + 763] = '\xFF';  // Q's member count 0xFFFFFFFF
  testing::WriteFile(dir.path() / "Tagname.X", tag_file);
  CTagDict dict(In(dir));
  EXPECT_EQ(testing::IndexEntryOf(dict, "P\\M").ParentRecNo, 1);
  EXPECT_EQ(dict.tag_index()->Find("P\\N"), nullptr);
  EXPECT_EQ(testing::IndexEntryOf(dict, "Q\\Last").ParentRecNo, 2);
  EXPECT_EQ(dict.used_count(), 4);
}

TEST(LoadTagDict, GivesTheSystemAlarmGroupToEveryUsedRecordWithoutOne) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), {TestTag{"A"}, TestTag{.name = "Grp", .type = 217},
                                        TestTag{.name = "$SYSTEM", .type = 217},
                                        TestTag{.name = "B", .alarm_group = 2}, std::nullopt});
  CTagDict dict(In(dir));
  const Loaded after{ReadFile(dir.path() / "Tagname.X"), ReadFile(dir.path() / "Tag_Ext.X")};
  EXPECT_EQ(after.Record(1).AlarmGroup(), 3);
  EXPECT_EQ(after.Record(2).AlarmGroup(), 3);
  EXPECT_EQ(after.Record(3).AlarmGroup(), 3);
  EXPECT_EQ(after.Record(4).AlarmGroup(), 2);
  EXPECT_EQ(after.Record(5).AlarmGroup(), 0);
}

TEST(LoadTagDict, LeavesAlarmGroupsAloneWithoutASystemAlarmGroup) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), {TestTag{"A"}, TestTag{.name = "$Sys", .type = 217}});
  CTagDict dict(In(dir));
  EXPECT_EQ(testing::RecordOf(ReadFile(dir.path() / "Tagname.X"), 1).AlarmGroup(), 0);
}

CAccNames AccessNames(std::initializer_list<std::int32_t> source_ids) {
  CAccNames names;
  for (const std::int32_t id : source_ids) {
    AccName_T record;
    record.SourceName = "Acc" + std::to_string(id);
    record.DDESourceID = id;
    names.AppendRecord(std::move(record));
  }
  return names;
}

TEST(LoadTagDict, EntersEachAlarmGroupButTheSystemOneInTheProject) {
  testing::AttachedProject project("INSERT INTO AlarmGroupNames VALUES (1, 'Existing');");
  TempDir dir;
  testing::WriteDictionary(
      dir.path(), {TestTag{.name = "$SYSTEM", .type = 217}, TestTag{.name = "Boilers", .type = 217},
                   TestTag{.name = "Say \"hi\"); DROP", .type = 217},
                   TestTag{.name = "existing", .type = 217}, TestTag{.name = "Io", .type = 204}});
  CAccNames names = AccessNames({});
  TagDictOptions options = In(dir);
  options.access_names = &names;
  {
    ScopedReportCapture capture;
    { CTagDict dict(options); }
    ASSERT_GE(capture.messages().size(), 3u);
    EXPECT_EQ(capture.messages()[0],
              (ReportedMessage{"Alarm Group: Boilers added to project database", 0, 0}));
    EXPECT_EQ(capture.messages()[1],
              (ReportedMessage{"Alarm Group: Say \"hi\"); DROP added to project database", 0, 0}));
    EXPECT_EQ(capture.messages()[2].text.rfind("        File ", 0), 0u);
  }
  EXPECT_EQ(
      testing::QueryOne(project.db_path(),
                        "SELECT group_concat(AlarmGroupID || '=' || AlarmGroupName, ',') FROM "
                        "(SELECT * FROM AlarmGroupNames ORDER BY AlarmGroupID)"),
      "1=Existing,2=Boilers,3=Say \"hi\"); DROP");
  // The next build finds the groups in the project and says nothing of them.
  ScopedReportCapture capture;
  { CTagDict dict(options); }
  EXPECT_EQ(capture.messages()[0].text.rfind("        File ", 0), 0u);
}

TEST(LoadTagDict, MarksIoTagsOfTheApplicationsAccessNamesButNoSystemTags) {
  TempDir dir;
  testing::WriteDictionary(
      dir.path(),
      {TestTag{.name = "Disc", .type = 202, .access_name = 7},
       TestTag{.name = "Int", .type = 204, .access_name = 9},
       TestTag{.name = "Real", .type = 206, .access_name = 8},
       TestTag{.name = "Msg", .type = 208, .access_name = 9},
       TestTag{.name = "ZZSys", .type = 204, .access_name = 9},
       TestTag{.name = "$Sys", .type = 204, .access_name = 9},
       TestTag{.name = "Zz", .type = 204, .access_name = 9}, TestTag{.name = "Group", .type = 213},
       // an orphan leaves the index before the marking
       TestTag{.name = "No\\Parent", .type = 204, .access_name = 9},
       TestTag{.name = "Int", .type = 204, .access_name = 9}});
  CAccNames names = AccessNames({7, 8, 9});
  TagDictOptions options = In(dir);
  options.access_names = &names;
  options.app_access_names = {5, 2, 0};  // 5 is no position of the set
  ScopedReportCapture capture;
  CTagDict dict(options);
  std::vector<std::string> marked;
  dict.tag_index()->ForEach([&marked](std::string_view name, const TagIdxData_T& entry) {
    if (entry.PelnetAccess == 1) marked.emplace_back(name);
  });
  std::sort(marked.begin(), marked.end());
  EXPECT_THAT(marked, ElementsAre("Disc", "Int", "Msg", "Zz"));
  EXPECT_EQ(dict.tag_index()->Find("No\\Parent"), nullptr);
}

TEST(LoadTagDict, WithoutAnAccessNameSetMarksNothingAndEntersNothing) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), {TestTag{.name = "Boilers", .type = 217},
                                        TestTag{.name = "Int", .type = 204, .access_name = 0}});
  ScopedReportCapture capture;
  CTagDict dict(In(dir));
  EXPECT_EQ(testing::IndexEntryOf(dict, "Int").PelnetAccess, 0);
  EXPECT_THAT(capture.messages(), IsEmpty());
}

}  // namespace
}  // namespace quellor
