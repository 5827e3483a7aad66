#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accessnames/acc_names.h"
#include "base/format.h"
#include "dictionary_files.h"
#include "merge_project.h"
#include "tagdict/tag_layout.h"
#include "tagdict/tag_merge.h"

namespace quellor {
namespace {

namespace tl = tag_layout;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::MergeProject;
using testing::MergeResult;
using testing::TrendRow;
using ::testing::UnorderedElementsAre;
using Rows = std::vector<TrendRow>;

std::vector<std::int32_t> Members(const TagRec_T& record) {
  std::vector<std::int32_t> members;
  for (std::uint32_t i = 0; i < record.MemberCount(); ++i) members.push_back(record.Member(i));
  return members;
}

// The DDE points of the one access name, as "tag=item@record".
std::vector<std::string> Points(const CAccNames& names) {
  std::vector<std::string> points;
  const auto& record = names.GetRecord(0);
  if (record.Points == nullptr) return points;
  record.Points->ForEach([&](const DDEPoint_T& p) {
    points.push_back(p.TagName + "=" + p.ItemName + "@" + std::to_string(p.TagIndex));
  });
  return points;
}

// Every DDE point of the set, as "access name:tag@record".
std::vector<std::string> AllPoints(const CAccNames& names) {
  std::vector<std::string> points;
  for (int i = 0; i < names.GetCount(); ++i) {
    const AccName_T& record = names.GetRecord(i);
    if (record.Points == nullptr) continue;
    record.Points->ForEach([&](const DDEPoint_T& p) {
      points.push_back(record.SourceName + ":" + p.TagName + "@" + std::to_string(p.TagIndex));
    });
  }
  return points;
}

ReportedMessage Incompatible(const std::string& tag) {
  return {
      "TagName.X : Tag " + tag + " cannot be modified, the old and new versions are incompatible",
      2, 1};
}

ReportedMessage ChangedType(const std::string& tag) {
  return {"        TagName.X : Tag " + tag + " has changed type", 0, 1};
}

TrendRow Fix(std::string tag, std::string fix, int code = 8) {
  return TrendRow{.tag = std::move(tag),
                  .fix = std::move(fix),
                  .record_type = "FldTag",
                  .field_code = 0,
                  .fix_code = code};
}

TEST(TagMerge, LoggedBlockFieldsBecomeMembersOfAGroupWithDottedItems) {
  MergeProject project({{.tag = "T", .field = "F1", .desc = "one", .units = "bar"},
                        {.tag = "T", .field = "F2", .field_code = 7}});
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.messages, IsEmpty());
  const TagRec_T group = r.Tag("T");
  EXPECT_EQ(group.Type(), tl::kTypeGroup);
  EXPECT_EQ(group.I32(tl::kWord292), 0);
  EXPECT_EQ(group.U32(tl::kMemberMark), tl::kMemberMarkValue);
  EXPECT_EQ(group.Parent(), 0);
  EXPECT_THAT(Members(group), ElementsAre(r.RecNo("T\\F1"), r.RecNo("T\\F2")));
  EXPECT_FALSE(r.Find("T\\v"));  // a block's group never gets a value member

  const TagRec_T f1 = r.Tag("T\\F1");
  EXPECT_EQ(f1.Type(), tl::kTypeReal);
  EXPECT_EQ(f1.Parent(), r.RecNo("T"));
  EXPECT_EQ(f1.U32(tl::kMemberMark), tl::kMemberMarkValue);
  EXPECT_EQ(f1.ItemName(), "T.F1");
  EXPECT_EQ(f1.I32(tl::kAnalogAccess), 1);
  EXPECT_EQ(f1.Text(tl::kDescription, tl::kDescriptionWidth), "one");
  EXPECT_EQ(f1.Text(tl::kUnits, tl::kUnitsWidth), "bar");
  EXPECT_EQ(f1.I32(tl::kWord680), 201);
  EXPECT_EQ(f1.U32(tl::kDefaults320 + 8), 0x00010001u);
  EXPECT_EQ(f1.U16(tl::kWord340), 261);
  EXPECT_EQ(f1.U32(tl::kFlags712) & 1u, 1u);
  EXPECT_EQ(r.Tag("T\\F2").ItemName(), "T.F2");
  EXPECT_EQ(r.Tag("T\\F2").Type(), tl::kTypeInteger);

  EXPECT_THAT(Points(project.names()),
              ElementsAre("T\\F2=T.F2@" + std::to_string(r.RecNo("T\\F2")),
                          "T\\F1=T.F1@" + std::to_string(r.RecNo("T\\F1"))));
  const TagDictCounters& c = r.counters;
  EXPECT_EQ(c.ProcessedTotal, 3);
  EXPECT_EQ(c.ProcessedSuper, 1);
  EXPECT_EQ(c.ProcessedIO, 2);
  EXPECT_EQ(c.CreatedTotal, 3);
  EXPECT_EQ(c.CreatedSuper, 1);
  EXPECT_EQ(c.CreatedIO, 2);
  EXPECT_EQ(c.ModifiedTotal, 0);
  // Each new tag's companion record is zeroed.
  EXPECT_EQ(r.companion_file.size(), tl::kCompanionRecordSize * 4);
  EXPECT_EQ(r.companion_file.find_first_not_of('\0'), std::string::npos);
}

TEST(TagMerge, ASubfieldGivesAMemberOfItsFieldAndTheFieldAValueMemberLast) {
  MergeProject project({{.tag = "T", .field = "F"}, {.tag = "T", .field = "F", .subfield = "S"}});
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.messages, IsEmpty());
  const TagRec_T field = r.Tag("T\\F");
  EXPECT_THAT(Members(field), ElementsAre(r.RecNo("T.F\\S"), r.RecNo("T\\F\\v")));
  EXPECT_EQ(r.Tag("T.F\\S").ItemName(), "T.F.S");
  const TagRec_T value = r.Tag("T\\F\\v");
  EXPECT_EQ(value.Type(), tl::kTypeReal);
  EXPECT_EQ(value.Parent(), r.RecNo("T\\F"));
  EXPECT_EQ(value.I32(tl::kAnalogAccess), 0);  // a value member gets no access name of its own
  EXPECT_THAT(Points(project.names()),
              ElementsAre("T\\F=T.F@" + std::to_string(r.RecNo("T\\F")),
                          "T\\F\\v=T.F.v@" + std::to_string(r.RecNo("T\\F\\v")),
                          "T.F\\S=T.F.S@" + std::to_string(r.RecNo("T.F\\S"))));
}

TEST(TagMerge, AFieldTagWithMembersTakesItsFirstMembersTypeAndGetsAValueMember) {
  MergeProject project({Fix("T", "A", 10), Fix("T", "B", 8)});
  const MergeResult r = project.Merge();
  const TagRec_T top = r.Tag("T");
  EXPECT_EQ(top.Type(), tl::kTypeMessage);
  EXPECT_THAT(Members(top), ElementsAre(r.RecNo("T\\A"), r.RecNo("T\\B"), r.RecNo("T\\v")));
  EXPECT_EQ(r.Tag("T\\v").ItemName(), "");  // stored without an item; its DDE point has one
  EXPECT_EQ(top.ItemName(), "T");
  EXPECT_EQ(r.counters.ProcessedSuper, 1);
  EXPECT_EQ(r.counters.ProcessedIO, 3);
}

TEST(TagMerge, ANameStartingWithADigitGetsTheYPrefixAndKeepsItsItem) {
  const std::string longest(128, 'A');
  const std::string too_long = "9" + std::string(127, 'A');
  MergeProject project({Fix("1ABC", ""), Fix(longest, ""), Fix(too_long, "")});
  const MergeResult r = project.Merge();
  EXPECT_EQ(r.Tag("Y1ABC").ItemName(), "1ABC");
  EXPECT_FALSE(r.Find("1ABC"));
  EXPECT_TRUE(r.Find(longest));
  EXPECT_THAT(r.messages, ElementsAre(ReportedMessage{
                              "TagName.X : Tag " + too_long + " exceeds character limit", 2, 1}));
  EXPECT_EQ(r.counters.ProcessedTotal, 2);
}

TEST(TagMerge, ValueMemberOfAPrefixedTagReadsTheUnprefixedItem) {
  MergeProject project({Fix("1ABC", "A")});
  const MergeResult r = project.Merge();
  EXPECT_THAT(Members(r.Tag("Y1ABC")), ElementsAre(r.RecNo("Y1ABC\\A"), r.RecNo("Y1ABC\\v")));
  EXPECT_THAT(Points(project.names()),
              ElementsAre("Y1ABC=1ABC@" + std::to_string(r.RecNo("Y1ABC")),
                          "Y1ABC\\v=1ABC.v@" + std::to_string(r.RecNo("Y1ABC\\v")),
                          "Y1ABC\\A=1ABC.A@" + std::to_string(r.RecNo("Y1ABC\\A"))));
}

TEST(TagMerge, AnUnloggedFirstFieldRowLeavesOutTheWholeField) {
  MergeProject project({{.tag = "T", .field = "F1", .logged = 0},
                        {.tag = "T", .field = "F1", .subfield = "S"},
                        {.tag = "T", .field = "F2"}});
  const MergeResult r = project.Merge();
  EXPECT_FALSE(r.Find("T\\F1"));
  EXPECT_FALSE(r.Find("T.F1\\S"));
  EXPECT_THAT(Members(r.Tag("T")), ElementsAre(r.RecNo("T\\F2")));
}

TEST(TagMerge, The65thMemberRowIsSkippedSilently) {
  std::vector<TrendRow> rows;
  for (int i = 0; i < 65; ++i) rows.push_back({.tag = "T", .field = "F" + std::to_string(100 + i)});
  MergeProject project(rows);
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.messages, IsEmpty());
  EXPECT_EQ(r.Tag("T").MemberCount(), 64u);
  EXPECT_FALSE(r.Find("T\\F164"));
}

TEST(TagMerge, NewValueMemberOfAFullParentIsNotCreated) {
  std::vector<TrendRow> rows;
  for (int i = 0; i < 64; ++i) rows.push_back(Fix("T", "A" + std::to_string(100 + i)));
  MergeProject project(rows);
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.messages, IsEmpty());
  const TagRec_T top = r.Tag("T");
  EXPECT_EQ(top.MemberCount(), 64u);
  EXPECT_FALSE(r.Find("T\\v"));
  EXPECT_EQ(top.I32(1020), 0);
}

TEST(TagMerge, ValueMemberAStoredParentListsIn65thSlotKeepsItsPlace) {
  std::vector<TrendRow> rows;
  std::vector<std::optional<testing::TestTag>> records;
  std::vector<std::int32_t> members;
  for (int i = 0; i < 64; ++i) {
    rows.push_back(Fix("T", "A" + std::to_string(100 + i)));
    records.push_back(testing::TestTag{
        .name = "T\\A" + std::to_string(100 + i), .type = tl::kTypeReal, .access_name = 1});
    members.push_back(i + 1);
  }
  records.push_back(testing::TestTag{.name = "T\\v", .type = tl::kTypeReal});
  members.push_back(65);
  records.push_back(
      testing::TestTag{.name = "T", .type = tl::kTypeReal, .members = members, .access_name = 1});
  MergeProject project(rows);
  testing::WriteDictionary(project.app().path(), records);
  const MergeResult r = project.Merge();
  for (const auto& m : r.messages) EXPECT_EQ(m.level, 0) << m.text;  // no incompatibility
  const TagRec_T top = r.Tag("T");
  EXPECT_EQ(top.MemberCount(), 65u);
  EXPECT_EQ(top.I32(1020), 65);
  EXPECT_EQ(r.counters.ProcessedTotal, 66);
  EXPECT_EQ(r.Tag("T\\v").Parent(), 66);
}

TEST(TagMerge, AStoredMemberNoLongerDeliveredStaysListedAndIsReportedRemoved) {
  MergeProject project(Rows{{.tag = "T", .field = "F1"}, {.tag = "T", .field = "F2"}});
  const MergeResult first = project.Merge();
  project.SetRows({{.tag = "T", .field = "F1"}});
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.Texts(),
              ElementsAre("        TagName.X : Tag T\\F2 removed from project database"));
  EXPECT_EQ(r.messages[0].flag, 0);
  EXPECT_THAT(Members(r.Tag("T")), ElementsAre(first.RecNo("T\\F1"), first.RecNo("T\\F2")));
  EXPECT_TRUE(r.Find("T\\F2"));
  EXPECT_EQ(r.counters.ModifiedTotal, 1);
  EXPECT_EQ(r.counters.ModifiedSuper, 1);
  EXPECT_EQ(r.counters.ProcessedTotal, 2);
}

TEST(TagMerge, AChangedTypeKeepsTheStoredRecordAndStillCountsAsProcessed) {
  MergeProject project({Fix("T", "", 8)});
  const MergeResult first = project.Merge();
  project.SetRows({Fix("T", "", 7)});
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.messages,
              ElementsAre(ReportedMessage{"        TagName.X : Tag T has changed type", 0, 1},
                          ReportedMessage{"TagName.X : Tag T cannot be modified, the old and new "
                                          "versions are incompatible",
                                          2, 1}));
  EXPECT_EQ(r.tag_file.substr(tl::kRecordSize), first.tag_file.substr(tl::kRecordSize));
  EXPECT_EQ(r.counters.ProcessedTotal, 1);
  EXPECT_EQ(r.counters.ProcessedIO, 1);
  EXPECT_EQ(r.counters.CreatedTotal + r.counters.ModifiedTotal, 0);
}

TEST(TagMerge, AMemberWhoseTypeChangedKeepsItsPlaceAndIsNotReportedRemoved) {
  MergeProject project(Rows{{.tag = "T", .field = "F1", .field_code = 8},
                            {.tag = "T", .field = "F2", .field_code = 7}});
  const MergeResult first = project.Merge();
  project.SetRows(
      {{.tag = "T", .field = "F1", .field_code = 7}, {.tag = "T", .field = "F2", .field_code = 7}});
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.messages, ElementsAre(ChangedType("T\\F1"), Incompatible("T\\F1")));
  EXPECT_THAT(Members(r.Tag("T")), ElementsAre(first.RecNo("T\\F1"), first.RecNo("T\\F2")));
  EXPECT_EQ(r.counters.ModifiedTotal, 0);
}

TEST(TagMerge, NewMembersOfATagThatCannotBeModifiedAreNotMadeAndLeaveNoPoint) {
  MergeProject project({Fix("T", "B", 7), Fix("T", "C", 7)});
  project.AddServer("SRV2", "PN2");
  const MergeResult first = project.Merge();
  // A sorts first and makes T a real tag: T and its value member keep their integer records.
  project.SetRows({Fix("T", "A", 8), Fix("T", "B", 7), Fix("T", "C", 7)});
  for (int rebuild = 0; rebuild < 2; ++rebuild) {
    const MergeResult r = project.Merge();
    EXPECT_THAT(r.messages, ElementsAre(ChangedType("T\\v"), Incompatible("T\\v"), ChangedType("T"),
                                        Incompatible("T")));
    EXPECT_FALSE(r.Find("T\\A"));
    EXPECT_EQ(r.counters.CreatedTotal, 0);
    EXPECT_EQ(r.tag_file.substr(tl::kRecordSize, 4 * tl::kRecordSize),
              first.tag_file.substr(tl::kRecordSize, 4 * tl::kRecordSize));
  }
  project.MoveTag("T", "SRV2");
  const MergeResult moved = project.Merge();
  // B and C move with the new access name; T and T\v, kept as they were, keep theirs.
  const auto at = [&](std::string_view name) { return std::to_string(moved.RecNo(name)); };
  EXPECT_THAT(AllPoints(project.names()),
              UnorderedElementsAre("PN1:T@" + at("T"), "PN1:T\\v@" + at("T\\v"),
                                   "PN2:T\\B@" + at("T\\B"), "PN2:T\\C@" + at("T\\C")));
}

TEST(TagMerge, MembersBelowAnOrphanAreFreedWithItAndMadeAnew) {
  // B\F, which B no longer lists, lists B.F\S; the new tag A takes the first free record.
  MergeProject project(
      {Fix("A", ""), {.tag = "B", .field = "F"}, {.tag = "B", .field = "F", .subfield = "S"}});
  testing::WriteDictionary(project.app().path(),
                           {testing::TestTag{.name = "B", .type = tl::kTypeGroup},
                            testing::TestTag{.name = "B\\F", .type = tl::kTypeReal, .members = {3}},
                            testing::TestTag{.name = "B.F\\S", .type = tl::kTypeReal}});
  const MergeResult r = project.Merge();
  for (const auto& m : r.messages) EXPECT_NE(m.level, 2) << m.text;
  EXPECT_THAT(Members(r.Tag("B")), ElementsAre(r.RecNo("B\\F")));
  EXPECT_THAT(Members(r.Tag("B\\F")), ElementsAre(r.RecNo("B.F\\S"), r.RecNo("B\\F\\v")));
  EXPECT_EQ(r.Tag("B.F\\S").Parent(), r.RecNo("B\\F"));
}

TEST(TagMerge, AnEmptiedDictionaryTakesThePointsOfTheTagsItNoLongerHolds) {
  MergeProject project({Fix("A", ""), Fix("B", ""), Fix("C", "")});
  project.Merge();
  testing::WriteFile(project.app().path() / "Tagname.X", "");
  testing::WriteFile(project.app().path() / "Tag_Ext.X", "");
  project.SetRows({Fix("B", ""), Fix("C", "")});
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.open_messages,
              ElementsAre(ReportedMessage{"Access Name: PN1 - 3 DDE points did not match "
                                          "Tagname.X: 0 moved to their tag's record, 3 removed",
                                          1, 0}));
  EXPECT_THAT(r.messages, IsEmpty());  // no old point of another tag is taken over
  EXPECT_THAT(Points(project.names()), ElementsAre("C=C@2", "B=B@1"));
}

TEST(TagMerge, NoRowWritesNothing) {
  MergeProject project({});
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.messages, IsEmpty());
  EXPECT_EQ(r.RecordCount(), 0);
  EXPECT_EQ(r.counters.ProcessedTotal, 0);
  EXPECT_EQ(r.companion_file.size(), tl::kCompanionRecordSize);
}

TEST(TagMerge, AStoredInitialValueOutsideTheNewRangeIsResetToLo) {
  const auto row = [](double lo) {
    TrendRow r = Fix("T", "", 7);
    r.lo = lo;
    return r;
  };
  MergeProject project({row(0)});
  EXPECT_EQ(project.Merge().Tag("T").I32(tl::kInitialValue), 0);
  project.SetRows({row(10)});
  EXPECT_EQ(project.Merge().Tag("T").I32(tl::kInitialValue), 10);
  project.SetRows({row(5)});
  EXPECT_EQ(project.Merge().Tag("T").I32(tl::kInitialValue), 10);  // within the range: kept
}

TEST(TagMerge, ANewLoggedTagGetsTheSmallerOfTheTwoDeadbands) {
  const std::string absolute =
      "INSERT INTO PersistentData VALUES ('DeadbandAbsoluteValue', 'InTouchTrend', '%s');";
  const struct {
    int code;
    double lo, hi;
    const char* absolute;
    int logged;
    float deadband;  // an int32 for 204
  } cases[] = {
      {7, 0, 200, "1", 1, 1},       {7, 0, 1000, "10", 1, 5},    {7, 0, 299, "10", 1, 1},
      {7, 0, 1000, "2.7", 1, 2},    {7, 0, 1000, "10", 0, 0},    {8, 0, 200, "1", 1, 1.0f},
      {8, 0, 1000, "2.5", 1, 2.5f}, {8, -50, 50, "10", 1, 0.5f}, {8, 0, 1e300, "3", 1, 3.0f},
  };
  for (const auto& c : cases) {
    TrendRow row = Fix("T", "", c.code);
    row.lo = c.lo;
    row.hi = c.hi;
    row.logged = c.logged;
    MergeProject project({row}, StringPrintf(absolute.c_str(), c.absolute));
    const TagRec_T tag = project.Merge().Tag("T");
    if (c.code == 7) {
      EXPECT_EQ(tag.I32(tl::kLogDeadband), static_cast<std::int32_t>(c.deadband)) << c.hi;
    } else {
      EXPECT_EQ(tag.F32(tl::kLogDeadband), c.deadband) << c.hi;
    }
  }
}

TEST(TagMerge, ATagWhoseServerHasNoAccessNameIsLeftOutWithItsMembers) {
  MergeProject project({Fix("A", "X"), Fix("U", "X"), Fix("V", "")});
  project.project().Run("DELETE FROM Tags WHERE TagName = 'U';");
  const MergeResult r = project.Merge();
  EXPECT_TRUE(r.Find("A\\X"));
  EXPECT_FALSE(r.Find("U"));
  EXPECT_FALSE(r.Find("U\\X"));
  EXPECT_TRUE(r.Find("V"));
  EXPECT_THAT(r.messages, IsEmpty());
}

TEST(TagMerge, AnUndeterminedDataTypeIsReportedAndTheTagStillStored) {
  MergeProject project({Fix("A", "", 2), Fix("B", "", 9)});
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.messages,
              ElementsAre(ReportedMessage{"TagnameX - Failed to determine data type of A", 2, 1},
                          ReportedMessage{"TagnameX - Failed to determine data type of B", 2, 1}));
  EXPECT_EQ(r.Tag("A").Type(), 0);
  EXPECT_EQ(r.Tag("B").U32(tl::kFlags712) & 1u, 1u);
  EXPECT_EQ(r.counters.ProcessedTotal, 2);
  EXPECT_EQ(r.counters.ProcessedIO, 0);
}

TEST(TagMerge, ANameHoldingASemicolonOrLineEndIsReportedAndSkipped) {
  MergeProject project({Fix("1;B", ""), Fix("A\nB", ""), Fix("C", "")});
  const MergeResult r = project.Merge();
  EXPECT_THAT(r.messages,
              ElementsAre(ReportedMessage{"TagName.X : Tag 1;B has an invalid character", 2, 1},
                          ReportedMessage{"TagName.X : Tag A\nB has an invalid character", 2, 1}));
  EXPECT_EQ(r.RecordCount(), 1);
  EXPECT_TRUE(r.Find("C"));
}

TEST(TagMerge, UnitsAreCutTo32AndDescriptionsTo160Characters) {
  TrendRow row = Fix("T", "", 8);
  row.units = std::string(40, 'u');
  row.desc = std::string(200, 'd');
  MergeProject project({row});
  const TagRec_T tag = project.Merge().Tag("T");
  EXPECT_EQ(tag.Text(tl::kUnits, tl::kUnitsWidth), std::string(32, 'u'));
  EXPECT_EQ(tag.bytes()[tl::kUnits + 32], 0);
  EXPECT_EQ(tag.Text(tl::kDescription, tl::kDescriptionWidth), std::string(160, 'd'));
  EXPECT_EQ(tag.bytes()[289], 0);
}

TEST(TagMerge, TheFamilyIsTheKindOfTheTreesOwnTopLevelRow) {
  // A tag of kind 4 or 0 followed by a block or a field tag keeps its own family: no group
  // type and no value member borrowed from the next tree.
  for (const char* own : {"TagFixFld", ""}) {
    for (const char* next : {"BlkTag", "FldTag"}) {
      TrendRow a = Fix("A", "X", 8);
      a.record_type = own;
      TrendRow b = Fix("B", "Y", 8);
      b.record_type = next;
      b.field = std::string(next) == "BlkTag" ? "F" : "";
      MergeProject project({a, b});
      const MergeResult r = project.Merge();
      EXPECT_NE(r.Tag("A").Type(), tl::kTypeGroup) << own << "/" << next;
      EXPECT_FALSE(r.Find("A\\v")) << own << "/" << next;
      EXPECT_TRUE(r.Find("A\\X")) << own << "/" << next;
    }
  }
}

TEST(TagMerge, ASecondMergeOfTheSameProjectChangesNothing) {
  TrendRow real = Fix("R", "", 8);
  real.lo = -5.5;
  real.hi = 99.25;
  real.units = "kg";
  MergeProject project({{.tag = "T", .field = "F1", .desc = "block"},
                        {.tag = "T", .field = "F1", .subfield = "S"},
                        {.tag = "T", .field = "F2", .field_code = 1},
                        Fix("1N", "A", 7),
                        Fix("1N", "B", 10),
                        real,
                        Fix("D", "", 1)});
  const MergeResult first = project.Merge();
  EXPECT_THAT(first.messages, IsEmpty());
  const MergeResult second = project.Merge();
  EXPECT_THAT(second.Texts(), IsEmpty());
  EXPECT_EQ(second.tag_file.substr(tl::kRecordSize), first.tag_file.substr(tl::kRecordSize));
  EXPECT_EQ(second.companion_file, first.companion_file);
  EXPECT_EQ(second.counters.ProcessedTotal, first.counters.CreatedTotal);
  EXPECT_EQ(second.counters.ModifiedTotal + second.counters.CreatedTotal, 0);
}

TEST(TagMerge, WithoutAccessNamesNoServerIsLookedUpAndNoItemWritten) {
  MergeProject project({Fix("1ABC", "", 8), Fix("U", "", 8)});
  project.project().Run("DELETE FROM Tags;");
  const MergeResult r = project.Merge(/*with_access_names=*/false);
  EXPECT_TRUE(r.Find("1ABC"));  // no prefix without an access-name set
  EXPECT_EQ(r.Tag("U").ItemName(), "");
  EXPECT_EQ(r.Tag("U").I32(tl::kAnalogAccess), 0);
  EXPECT_EQ(r.counters.CreatedTotal, 2);
}

// A row belongs to a group when its joined key is the group's, periods in names included.
TEST(TagMerge, InGroupAnswersAsTheJoinedGroupKeysCompare) {
  const auto row = [](std::string tag, std::string field, std::string subfield) {
    ProjTag_T r;
    r.TagName = std::move(tag);
    r.FieldName = std::move(field);
    r.SubfieldName = std::move(subfield);
    return r;
  };
  const std::vector<ProjTag_T> rows = {
      row("T", "F", "S"), row("T", "F", "S2"), row("T.F", "S", ""), row("T", "F.S", ""),
      row("T", "", ""),   row("TF", "", ""),   row("T.", "F", "S"), row("", "", "")};
  for (int level = 0; level <= 3; ++level) {
    for (const ProjTag_T& a : rows) {
      for (const ProjTag_T& b : rows) {
        EXPECT_EQ(InGroup(a, level, GroupKey(b, level)), GroupKey(a, level) == GroupKey(b, level))
            << a.TagName << "|" << a.FieldName << "|" << a.SubfieldName << " against " << b.TagName
            << "|" << b.FieldName << "|" << b.SubfieldName << " at " << level;
      }
    }
  }
}

}  // namespace
}  // namespace quellor
