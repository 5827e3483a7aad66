#include "tagdict/tag_record.h"

#include <gtest/gtest.h>

#include <string>

#include "dictionary_files.h"

namespace quellor {
namespace {

namespace tl = tag_layout;

TEST(TagHdr, EncodesEveryFieldLittleEndianAndKeepsBytes24To39) {
  TagHdr_T header;
  header.version = 10;
  header.save_count = 0x01020304;
  header.record_count = 3;
  header.free_head = 2;
  header.used_count = -1;
  for (std::size_t i = 0; i < header.reserved.size(); ++i) header.reserved[i] = 0xA0 + i;
  const auto bytes = header.Encode();
  const std::string expected =
      std::string("\x34\x12\xCD\xAB\x0A\0\0\0\x04\x03\x02\x01\x03\0\0\0\x02\0\0\0\xFF\xFF\xFF\xFF",
                  24) +
      "\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xAA\xAB\xAC\xAD\xAE\xAF";
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
  const TagHdr_T decoded = TagHdr_T::Decode(bytes);
  EXPECT_EQ(decoded.Encode(), bytes);
}

TEST(TagRec, TextIsWrittenZeroFilledToItsFullWidthAndCutBeforeTheLastByte) {
  TagRec_T record;
  record.bytes().fill(0x55);
  record.SetText(tl::kUnits, tl::kUnitsWidth, "degC");
  EXPECT_EQ(record.Text(tl::kUnits, tl::kUnitsWidth), "degC");
  for (std::size_t i = tl::kUnits + 4; i < tl::kUnits + tl::kUnitsWidth; ++i) {
    EXPECT_EQ(record.bytes()[i], 0) << i;
  }
  EXPECT_EQ(record.bytes()[tl::kUnits + tl::kUnitsWidth], 0x55);  // the next field is kept

  record.SetText(tl::kName, tl::kNameWidth, std::string(200, 'N'));
  EXPECT_EQ(record.Name(), std::string(128, 'N'));
  EXPECT_EQ(record.bytes()[128], 0);
}

TEST(TagRec, AFieldWithoutTerminatorEndsBeforeItsLastByte) {
  TagRec_T record;
  record.bytes().fill('x');
  EXPECT_EQ(record.Name().size(), 128u);
}

TEST(TagRec, AMemberCountAbove65IsTakenAs65AndTheLastSlotIsTheRecordsLastWord) {
  TagRec_T record;
  record.SetU32(tl::kMemberCount, 0xFFFFFFFF);
  record.SetI32(1020, 42);
  EXPECT_EQ(record.MemberCount(), 65u);
  EXPECT_EQ(record.Member(64), 42);
  record.SetU32(tl::kMemberCount, 3);
  EXPECT_EQ(record.MemberCount(), 3u);
}

TEST(InitTagRecord, AFreshRecordCarriesItsFixedWordsAndTheParent) {
  TagRec_T record;
  record.bytes().fill(0x77);
  InitTagRecord(record, 5, nullptr, 0);
  TagRec_T expected;
  expected.SetI32(292, 2);
  expected.SetU32(304, 1);
  expected.SetI32(308, 1);
  expected.SetI32(724, 999);
  expected.SetI32(748, 5);
  expected.SetU32(744, 0xABCD1235);
  EXPECT_EQ(record.bytes(), expected.bytes());

  InitTagRecord(record, 0, nullptr, 0);
  EXPECT_EQ(record.U32(744), 0u);
}

TEST(InitTagRecord, AStoredRecordIsCopiedWithItsParentReplaced) {
  TagRec_T stored = testing::MakeRecord({.name = "A", .type = 204, .alarm_group = 0});
  stored.bytes()[1000] = 0x12;
  stored.SetI32(748, 9);
  stored.SetU32(744, 0xABCD1235);
  TagRec_T record;
  InitTagRecord(record, 0, &stored, 3);
  EXPECT_EQ(record.Parent(), 0);
  EXPECT_EQ(record.AlarmGroup(), 3);
  EXPECT_EQ(record.U32(744), 0xABCD1235u);  // a top-level tag keeps the mark it had
  EXPECT_EQ(record.bytes()[1000], 0x12);
}

}  // namespace
}  // namespace quellor
