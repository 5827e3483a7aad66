#include "tagdict/tag_records.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testing/status_matchers.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

namespace tl = tag_layout;
using ::quellor::testing::AsText;
using ::quellor::testing::IsOk;
using ::quellor::testing::ReadFile;
using ::quellor::testing::StatusIs;
using ::quellor::testing::TempDir;
using ::quellor::testing::WriteFile;

// A header's unit, then records 1 to 3 filled with 'a' to 'c', then part of a fourth.
class TagRecordsTest : public ::testing::Test {
 protected:
  TagRecordsTest() {
    content_ = std::string(tl::kRecordSize, 'H') + std::string(tl::kRecordSize, 'a') +
               std::string(tl::kRecordSize, 'b') + std::string(tl::kRecordSize, 'c') +
               std::string(100, 'd');
    WriteFile(path(), content_);
    Result<std::unique_ptr<File>> file =
        HostFileSystem().Open(path(), OpenOptions{.access = FileAccess::kReadWrite});
    EXPECT_THAT(file, IsOk());
    if (file.ok()) file_ = std::move(*file);
  }
  std::string path() const { return (dir_.path() / "Tagname.X").string(); }
  static std::string Record(char fill) { return std::string(tl::kRecordSize, fill); }

  TempDir dir_;
  std::string content_;
  std::unique_ptr<File> file_;
};

TEST_F(TagRecordsTest, HoldsTheRecordsReadThenThoseAppendedInTheirRoom) {
  TagRecords records;
  ASSERT_THAT(records.Read(*file_, 3, 6), IsOk());
  EXPECT_EQ(records.size(), 3u);
  EXPECT_EQ(records.capacity(), 6u);
  const TagRec_T* first_appended = nullptr;
  for (int i = 0; i < 3; ++i) {
    records.Append();
    if (i == 0) first_appended = &records[3];
  }
  EXPECT_EQ(&records[3], first_appended);  // the room was made beforehand: nothing moved
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(AsText(records.Bytes(0, 3)), Record('a') + Record('b') + Record('c'));
  EXPECT_EQ(AsText(records.Bytes(3, 3)), std::string(3 * tl::kRecordSize, '\0'));
  // Records lie together up to the last one read, and from there to the last appended.
  EXPECT_EQ(records.RunEnd(1), 3u);
  EXPECT_EQ(records.RunEnd(3), 6u);
}

TEST_F(TagRecordsTest, ChangingARecordLeavesTheFileAsItWas) {
  TagRecords records;
  ASSERT_THAT(records.Read(*file_, 3, 3), IsOk());
  records[1].bytes().fill('x');
  EXPECT_EQ(AsText(records.Bytes(1, 1)), Record('x'));
  EXPECT_EQ(ReadFile(path()), content_);
}

TEST_F(TagRecordsTest, MoreRecordsThanTheFileHoldsAreCorruptAndLeaveNone) {
  TagRecords records;
  ASSERT_THAT(records.Read(*file_, 3, 3), IsOk());
  EXPECT_THAT(records.Read(*file_, 4, 4), StatusIs(StatusCode::kCorruption));
  EXPECT_EQ(records.size(), 0u);
}

}  // namespace
}  // namespace quellor
