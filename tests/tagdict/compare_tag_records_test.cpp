#include "tagdict/compare_tag_records.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "dictionary_files.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

namespace tl = tag_layout;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// A dictionary whose records 1 to 70 are tags "M1" ... "M70", for member names.
class CompareTagRecordsTest : public ::testing::Test {
 protected:
  CompareTagRecordsTest() {
    std::vector<std::optional<testing::TestTag>> records;
    for (int n = 1; n <= 70; ++n)
      records.push_back(testing::TestTag{.name = "M" + std::to_string(n)});
    testing::WriteDictionary(dir_.path(), records);
    dict_.emplace(TagDictOptions{.folder = dir_.path().string()});
    capture_.Clear();
  }

  // Runs the comparison; the messages' texts.
  std::vector<std::string> Compare(TagRec_T& built, const TagRec_T& stored,
                                   bool compatible = true) {
    capture_.Clear();
    changed_ = false;
    EXPECT_EQ(CompareTagRecords(*dict_, built, stored, changed_), compatible);
    std::vector<std::string> texts;
    for (const auto& message : capture_.messages()) texts.push_back(message.text);
    return texts;
  }

  testing::TempDir dir_;
  ScopedReportCapture capture_;
  std::optional<CTagDict> dict_;
  bool changed_ = false;
};

TagRec_T Record(std::uint16_t type, std::vector<std::int32_t> members = {}) {
  TagRec_T record = testing::MakeRecord(
      testing::TestTag{.name = "T", .type = type, .members = std::move(members)});
  record.SetText(tl::kDescription, tl::kDescriptionWidth, "desc");
  return record;
}

std::string Line(const char* what) { return std::string("        TagName.X : Tag T ") + what; }

TEST_F(CompareTagRecordsTest, ReportsEveryChangeOfEachIoTypeInItsOrder) {
  const std::vector<std::string> common = {Line("description changed"),
                                           Line("has had the logged flag changed")};
  const struct {
    std::uint16_t type;
    std::size_t access, item;
    std::vector<std::string> io;
  } cases[] = {
      {202,
       tl::kDiscreteAccess,
       tl::kDiscreteItem,
       {Line("access name changed"), Line("remote reference changed")}},
      {204,
       tl::kAnalogAccess,
       tl::kAnalogItem,
       {Line("access name changed"), Line("remote reference changed"),
        Line("modified raw range data"), Line("modified engineering range data"),
        Line("modified units")}},
      {206,
       tl::kAnalogAccess,
       tl::kAnalogItem,
       {Line("access name changed"), Line("remote reference changed"),
        Line("modified raw range data"), Line("modified units"),
        Line("modified engineering range data")}},
      {208,
       tl::kMessageAccess,
       tl::kMessageItem,
       {Line("access name changed"), Line("remote reference changed")}},
      {213, 0, 0, {}},
  };
  for (const auto& c : cases) {
    const TagRec_T stored = Record(c.type);
    TagRec_T built = stored;
    EXPECT_THAT(Compare(built, stored), IsEmpty()) << c.type;
    EXPECT_FALSE(changed_);
    built.SetText(tl::kDescription, tl::kDescriptionWidth, "other");
    built.SetU32(tl::kFlags712, 1);
    if (c.access != 0) {
      built.SetI32(c.access, 7);
      built.SetText(c.item, tl::kItemWidth, "X.Y");
    }
    if (c.type == 204 || c.type == 206) {
      // Units last: they share bytes with the discrete fields, never with the analog ones.
      built.SetI32(tl::kRawMax, 5);
      built.SetI32(tl::kEngMin, 5);
      built.SetText(tl::kUnits, tl::kUnitsWidth, "bar");
    }
    std::vector<std::string> expected = common;
    expected.insert(expected.end(), c.io.begin(), c.io.end());
    EXPECT_THAT(Compare(built, stored), ElementsAreArray(expected)) << c.type;
    EXPECT_TRUE(changed_);
    for (const auto& message : capture_.messages()) {
      EXPECT_EQ(message.level + message.flag, 0) << message.text;
    }
  }
}

TEST_F(CompareTagRecordsTest, AFloatRangeThatCannotBeComparedCountsAsChanged) {
  TagRec_T stored = Record(206);
  stored.SetF32(tl::kRawMin, std::numeric_limits<float>::quiet_NaN());
  TagRec_T built = stored;
  EXPECT_THAT(Compare(built, stored), ElementsAre(Line("modified raw range data")));
  // Texts compare up to their terminator only.
  TagRec_T T = Record(204);
  TagRec_T U = T;
  U.bytes()[tl::kDescription + 10] = 'z';
  EXPECT_THAT(Compare(U, T), IsEmpty());
}

TEST_F(CompareTagRecordsTest, AnEqualRecordReportsNothingUnlessARealRangeHoldsANaN) {
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* record;
    std::uint16_t type;
    std::size_t nan_at;  // 0: no NaN
    std::vector<std::string> messages;
  } cases[] = {
      {"group", 213, 0, {}},
      {"integer with a NaN's bytes", 204, tl::kEngMax, {}},
      {"real", 206, 0, {}},
      {"real with a NaN in its engineering range",
       206,
       tl::kEngMax,
       {Line("modified engineering range data")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.record);
    TagRec_T stored = Record(c.type, {1, 2, 3});
    if (c.nan_at != 0) stored.SetF32(c.nan_at, kNaN);
    TagRec_T built = stored;
    EXPECT_THAT(Compare(built, stored), ElementsAreArray(c.messages));
    EXPECT_EQ(built.bytes(), stored.bytes());
    EXPECT_EQ(changed_, !c.messages.empty());
  }
}

TEST_F(CompareTagRecordsTest, ATextEndsAtItsTerminatorOrBeforeTheLastByteOfItsField) {
  const struct {
    std::size_t offset, width;
    const char* message;
  } fields[] = {{tl::kDescription, tl::kDescriptionWidth, "description changed"},
                {tl::kAnalogItem, tl::kItemWidth, "remote reference changed"},
                {tl::kUnits, tl::kUnitsWidth, "modified units"}};
  for (const auto& field : fields) {
    TagRec_T stored = Record(204);
    stored.SetText(field.offset, field.width, "same");
    TagRec_T built = stored;
    built.bytes()[field.offset + field.width - 1] = 'z';
    EXPECT_THAT(Compare(built, stored), IsEmpty()) << field.message;
    stored.SetText(field.offset, field.width, std::string(field.width - 1, 'a'));
    built = stored;
    built.bytes()[field.offset + field.width - 1] = 'z';
    EXPECT_THAT(Compare(built, stored), IsEmpty()) << field.message;
    built.bytes()[field.offset + field.width - 2] = 'z';
    EXPECT_THAT(Compare(built, stored), ElementsAre(Line(field.message)));
  }
}

TEST_F(CompareTagRecordsTest, StoredMembersMissingFromTheNewListAreAppendedAndReported) {
  const TagRec_T stored = Record(213, {1, 2});
  TagRec_T built = Record(213, {1, 3});
  EXPECT_THAT(Compare(built, stored),
              ElementsAre("        TagName.X : Tag M2 removed from project database",
                          "        TagName.X : Tag M3 added to project database"));
  EXPECT_EQ(built.MemberCount(), 3u);
  EXPECT_EQ(built.Member(2), 2);
  EXPECT_TRUE(changed_);
}

TEST_F(CompareTagRecordsTest, StoredMemberNumbersNamingNoRecordAreIgnored) {
  const TagRec_T stored = Record(213, {0, 1, 71, -4, 100000});
  TagRec_T built = Record(213, {1});
  EXPECT_THAT(Compare(built, stored), IsEmpty());
  EXPECT_EQ(built.MemberCount(), 1u);
  EXPECT_FALSE(changed_);
}

TEST_F(CompareTagRecordsTest, ChangedTypeAndTooManyMembersAreIncompatible) {
  TagRec_T built = Record(204);
  EXPECT_THAT(Compare(built, Record(206), false), ElementsAre(Line("has changed type")));
  EXPECT_EQ(capture_.messages()[0].flag, 1);

  std::vector<std::int32_t> sixty_four;
  for (int n = 1; n <= 64; ++n) sixty_four.push_back(n);
  TagRec_T full = Record(213, sixty_four);
  const TagRec_T before = full;
  EXPECT_THAT(Compare(full, Record(213, {65}), false),
              ElementsAre("        TagName.X : Failed to merge old children for Tag T"));
  EXPECT_EQ(capture_.messages()[0].flag, 1);
  EXPECT_EQ(full.bytes(), before.bytes());
}

}  // namespace
}  // namespace quellor
