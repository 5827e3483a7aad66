#include "tagdict/tag_dict.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "base/le_codec.h"
#include "dictionary_files.h"
#include "platform/env.h"
#include "platform/files.h"
#include "report/report.h"
#include "testing/faulty_file_system.h"
#include "testing/lock_holder.h"
#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

namespace tl = tag_layout;
using ::testing::ElementsAre;
using testing::ReadFile;
using testing::TempDir;
using testing::TestTag;
using testing::WriteFile;

std::int32_t HeaderField(const std::string& tag_file, std::size_t offset) {
  return LoadLeI32(reinterpret_cast<const std::uint8_t*>(tag_file.data()) + offset);
}

TagDictOptions In(const TempDir& dir) { return TagDictOptions{.folder = dir.path().string()}; }

TEST(TagDictOpen, AnEmptyTagFileGetsAVersion9HeaderAndItsFirstTagGoesToOffset1024) {
  TempDir dir;
  WriteFile(dir.path() / "Tagname.X", "");
  WriteFile(dir.path() / "Tag_Ext.X", "");
  ReportedMessage closing;
  {
    ScopedReportCapture capture;
    CTagDict dict(In(dir));
    ASSERT_TRUE(dict.is_open());
    EXPECT_EQ(dict.tag_index(), nullptr);
    EXPECT_EQ(ReadFile(dir.path() / "Tag_Ext.X"), std::string(512, '\0'));
    const std::string header = ReadFile(dir.path() / "Tagname.X");
    ASSERT_EQ(header.size(), 40u);
    EXPECT_EQ(static_cast<std::uint32_t>(HeaderField(header, 0)), 0xABCD1234u);
    EXPECT_EQ(HeaderField(header, 4), 9);

    const TagAllocation first = dict.FindOrAllocateRecord("T1", 0);
    EXPECT_EQ(first.rec_no, 1);
    EXPECT_FALSE(first.existed);
    TagRec_T record;
    dict.InitTagRecord(record, 0, nullptr);
    record.SetText(tl::kName, tl::kNameWidth, "T1");
    dict.WriteRecord(first.rec_no, record);
    EXPECT_TRUE(capture.messages().empty());
  }
  const std::string tag_file = ReadFile(dir.path() / "Tagname.X");
  ASSERT_EQ(tag_file.size(), 2048u);
  EXPECT_EQ(testing::RecordOf(tag_file, 1).Name(), "T1");
  EXPECT_EQ(HeaderField(tag_file, 12), 1);
  EXPECT_EQ(HeaderField(tag_file, 20), 1);
  // The fresh dictionary is read by the next build.
  CTagDict again(In(dir));
  EXPECT_TRUE(again.is_open());
  EXPECT_EQ(again.record_count(), 1);
}

TEST(TagDictOpen, AVersion9FileWithoutRecordsLoadsWithRecordCount0) {
  for (const std::size_t size : {40u, 1024u, 2047u}) {
    TempDir dir;
    std::string tag_file = testing::HeaderBytes(9);
    tag_file.resize(size, '\0');
    WriteFile(dir.path() / "Tagname.X", tag_file);
    WriteFile(dir.path() / "Tag_Ext.X", "");
    ScopedReportCapture capture;
    CTagDict dict(In(dir));
    EXPECT_TRUE(dict.is_open()) << size;
    EXPECT_EQ(dict.record_count(), 0) << size;
    ASSERT_NE(dict.tag_index(), nullptr);
    EXPECT_EQ(dict.FindOrAllocateRecord("A", 0).rec_no, 1);
  }
}

TEST(TagDictOpen, ATrailingPartRecordIsNotARecordAndIsWarnedOf) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), {TestTag{"A"}, TestTag{"B"}, TestTag{"C"}});
  std::string tag_file = ReadFile(dir.path() / "Tagname.X");
  tag_file.append(100, 'x');
  WriteFile(dir.path() / "Tagname.X", tag_file);
  ScopedReportCapture capture;
  CTagDict dict(In(dir));
  EXPECT_EQ(dict.record_count(), 3);
  EXPECT_EQ(dict.FindOrAllocateRecord("D", 0).rec_no, 4);
  EXPECT_THAT(capture.messages(),
              ElementsAre(ReportedMessage{"TagName.X : " + dict.TagFilePath() +
                                              " ends inside a record, its last 100 bytes are "
                                              "ignored",
                                          1, 0}));
}

TEST(TagDictOpen, FailsWithOneMessageWhenAFileIsMissingShortOrHeld) {
  TempDir dir;
  const std::string folder = dir.path().string();
  const std::string tag_path = folder + "\\Tagname.X";
  const std::string companion_path = folder + "\\Tag_Ext.X";
  // The messages; the reason on standard error goes to `reason`.
  std::string reason;
  const auto open_and_capture = [&] {
    ScopedReportCapture capture;
    ::testing::internal::CaptureStderr();
    {
      CTagDict dict(In(dir));
      EXPECT_FALSE(dict.is_open());
      dict.WriteNameIndex();
    }
    reason = ::testing::internal::GetCapturedStderr();
    return capture.messages();
  };
  const std::string host = dir.path().string();
  const auto failed = [](const std::string& path) {
    return ReportedMessage{"Failed to open " + path, 2, 1};
  };

  EXPECT_THAT(open_and_capture(), ElementsAre(failed(tag_path)));
  EXPECT_EQ(reason, host + "/Tagname.X: No such file or directory\n");

  WriteFile(dir.path() / "Tagname.X", "");
  EXPECT_THAT(open_and_capture(), ElementsAre(failed(companion_path)));
  EXPECT_EQ(reason, host + "/Tag_Ext.X: No such file or directory\n");
  EXPECT_EQ(ReadFile(dir.path() / "Tagname.X"), "");                            // not initialised
  EXPECT_TRUE(OpenExclusive(tag_path, ExclusiveCreation::kOpenExisting).ok());  // let go again

  WriteFile(dir.path() / "Tag_Ext.X", "ext");
  for (const std::size_t size : {1u, 24u, 39u}) {
    const std::string short_file = testing::HeaderBytes(9).substr(0, size);
    WriteFile(dir.path() / "Tagname.X", short_file);
    EXPECT_THAT(open_and_capture(), ElementsAre(failed(tag_path))) << size;
    EXPECT_EQ(reason, host + "/Tagname.X ends inside its header: not a tag dictionary\n");
    EXPECT_EQ(ReadFile(dir.path() / "Tagname.X"), short_file);
    EXPECT_EQ(ReadFile(dir.path() / "Tag_Ext.X"), "ext");
  }

  testing::WriteDictionary(dir.path(), {TestTag{"A"}});
  {
    testing::LockHolder holder(dir.path() / "Tagname.X");
    EXPECT_THAT(open_and_capture(), ElementsAre(failed(tag_path)));
    EXPECT_EQ(reason, host + "/Tagname.X: held by another Quellor process\n");
  }
  {
    testing::LockHolder holder(dir.path() / "Tag_Ext.X");
    EXPECT_THAT(open_and_capture(), ElementsAre(failed(companion_path)));
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Tagnames.NDX"));
}

TEST(TagDictOpen, AFileWithoutTheMagicNumberIsNoDictionaryAndIsLeftAsItIs) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), {TestTag{"A"}}, 8);  // the version does not matter then
  std::string tag_file = ReadFile(dir.path() / "Tagname.X");
  StoreLe32(reinterpret_cast<std::uint8_t*>(tag_file.data()) + tl::kHdrMagic, 0x12345678);
  WriteFile(dir.path() / "Tagname.X", tag_file);
  ScopedReportCapture capture;
  ::testing::internal::CaptureStderr();
  {
    CTagDict dict(In(dir));
    EXPECT_FALSE(dict.is_open());
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            dir.path().string() +
                "/Tagname.X has the magic number 0x12345678, not 0xABCD1234: not a tag "
                "dictionary\n");
  EXPECT_THAT(
      capture.messages(),
      ElementsAre(ReportedMessage{"Failed to open " + dir.path().string() + "\\Tagname.X", 2, 1}));
  EXPECT_EQ(ReadFile(dir.path() / "Tagname.X"), tag_file);
}

TEST(TagDictOpen, HoldsBothFilesUntilItCloses) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), {TestTag{"A"}});
  const std::string folder = dir.path().string();
  {
    CTagDict dict(In(dir));
    EXPECT_EQ(
        OpenExclusive(folder + "\\Tagname.X", ExclusiveCreation::kOpenExisting).status().code(),
        StatusCode::kHeld);
    EXPECT_EQ(
        OpenExclusive(folder + "\\Tag_Ext.X", ExclusiveCreation::kOpenExisting).status().code(),
        StatusCode::kHeld);
  }
  EXPECT_TRUE(OpenExclusive(folder + "\\Tagname.X", ExclusiveCreation::kOpenExisting).ok());
}

TEST(TagDictOpen, AnOldFormatDictionaryEndsTheProcessWithExitCode1) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), {TestTag{"A"}}, 8);
  const std::string before = ReadFile(dir.path() / "Tagname.X");
  const TempDir prefix;  // an empty machine: no build window, messages on standard output
  testing::RunOptions options;
  options.env = {{"QUELLOR_PREFIX", prefix.path().string()}};
  const testing::RunResult run =
      testing::RunBinary(testing::BinaryPath("tagdict_open"), {dir.path().string()}, options);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "Old format tag dictionary detected, exiting\n");
  EXPECT_EQ(ReadFile(dir.path() / "Tagname.X"), before);
}

TEST(FindOrAllocateRecord, HandsOutFreeRecordsHighestFirstThenAppends) {
  TempDir dir;
  std::vector<std::optional<TestTag>> records;
  for (int n = 1; n <= 8; ++n) {
    records.push_back(n == 3 || n == 7 ? std::nullopt
                                       : std::optional(TestTag{"T" + std::to_string(n)}));
  }
  testing::WriteDictionary(dir.path(), records);
  WriteFile(dir.path() / "Tag_Ext.X", std::string(9 * 512, testing::kCompanionMarker));
  CTagDict dict(In(dir));
  ASSERT_EQ(dict.free_head(), 7);
  EXPECT_EQ(dict.used_count(), 6);
  // The load cleared the free records' companions; mark them again to see the allocation's.
  WriteFile(dir.path() / "Tag_Ext.X", std::string(9 * 512, testing::kCompanionMarker));

  const TagAllocation a = dict.FindOrAllocateRecord("New1", 4);
  const TagAllocation b = dict.FindOrAllocateRecord("New2", 0);
  const TagAllocation c = dict.FindOrAllocateRecord("New3", 0);
  EXPECT_EQ(a.rec_no, 7);
  EXPECT_EQ(b.rec_no, 3);
  EXPECT_EQ(c.rec_no, 9);
  EXPECT_EQ(dict.free_head(), 0);
  EXPECT_EQ(dict.used_count(), 9);
  EXPECT_EQ(testing::IndexEntryOf(dict, "New1"), (TagIdxData_T{7, 4, 0, 0}));

  dict.FlushChanges();
  const std::string companion = ReadFile(dir.path() / "Tag_Ext.X");
  EXPECT_EQ(testing::CompanionOf(companion, 7), std::string(512, '\0'));
  EXPECT_EQ(testing::CompanionOf(companion, 3), std::string(512, '\0'));
  EXPECT_EQ(testing::CompanionOf(companion, 4), std::string(512, testing::kCompanionMarker));
  EXPECT_EQ(testing::RecordOf(ReadFile(dir.path() / "Tagname.X"), 3).NextFree(), 0);

  TagRec_T stored;
  const TagAllocation existing = dict.FindOrAllocateRecord("T5", 2, &stored);
  EXPECT_EQ(existing.rec_no, 5);
  EXPECT_TRUE(existing.existed);
  EXPECT_EQ(existing.stored_parent, 0);
  EXPECT_EQ(stored.Name(), "T5");
  EXPECT_EQ(dict.used_count(), 9);
}

TEST(FindOrAllocateRecord, Returns_1AtTheRecordLimitAndTheHeaderKeeps60000) {
  TempDir dir;
  std::string tag_file = testing::HeaderBytes(9);
  tag_file.resize(1024, '\0');
  tag_file.reserve(1024 * 60001);
  for (int n = 1; n <= 60000; ++n) {
    const TagRec_T record = testing::MakeRecord({.name = "T" + std::to_string(n)});
    tag_file.append(reinterpret_cast<const char*>(record.bytes().data()), 1024);
  }
  WriteFile(dir.path() / "Tagname.X", tag_file);
  WriteFile(dir.path() / "Tag_Ext.X", "");
  {
    ScopedReportCapture capture;
    CTagDict dict(In(dir));
    EXPECT_EQ(dict.FindOrAllocateRecord("One more", 0).rec_no, -1);
    EXPECT_EQ(dict.FindOrAllocateRecord("T60000", 0).rec_no, 60000);
    EXPECT_EQ(dict.record_count(), 60000);
  }
  const std::string after = ReadFile(dir.path() / "Tagname.X");
  EXPECT_EQ(HeaderField(after, 12), 60000);
  EXPECT_EQ(HeaderField(after, 20), 60000);
}

TEST(TagDictClose, AddsOneToTheSaveCountAndKeepsBytes24To39) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), {TestTag{"A"}, std::nullopt, TestTag{"B"}});
  const std::string tag_path = dir.path().string() + "\\Tagname.X";
  for (int build = 1; build <= 2; ++build) {
    ScopedReportCapture capture;
    { CTagDict dict(In(dir)); }
    EXPECT_THAT(capture.messages(),
                ElementsAre(ReportedMessage{
                    "        File " + tag_path + " created with 2 entries (max = 60000)", 0, 0}));
    const std::string header = ReadFile(dir.path() / "Tagname.X").substr(0, 40);
    EXPECT_EQ(header.substr(24), testing::HeaderBytes(9).substr(24));
    EXPECT_EQ(HeaderField(header, 8), build);
    EXPECT_EQ(HeaderField(header, 12), 3);
    EXPECT_EQ(HeaderField(header, 16), 2);
    EXPECT_EQ(HeaderField(header, 20), 2);
  }
}

// Records A and B, loaded, with the writes to the dictionary's files counted from there.
class WriteRecordTest : public ::testing::Test {
 protected:
  WriteRecordTest() {
    testing::WriteDictionary(dir_.path(), {TestTag{"A"}, TestTag{"B"}});
    dict_.emplace(In(dir_));
    dict_->FlushChanges();  // what the load changed
    loaded_ = counting_.count(testing::FaultPoint::kWrite);
  }
  int WritesSinceLoad() const { return counting_.count(testing::FaultPoint::kWrite) - loaded_; }
  TagRec_T RecordInFile(std::int32_t n) const {
    return testing::RecordOf(ReadFile(dir_.path() / "Tagname.X"), n);
  }

  TempDir dir_;
  testing::FaultyFileSystem counting_{Env::Default().file_system()};
  ScopedFileSystemOverride use_{counting_};
  std::optional<CTagDict> dict_;
  int loaded_ = 0;
};

TEST_F(WriteRecordTest, OnlyARecordWhoseBytesChangeIsWrittenAtTheFlush) {
  TagRec_T record;
  ASSERT_EQ(dict_->ReadRecord(1, record), tl::kRecordSize);
  dict_->WriteRecord(1, record);
  dict_->FlushChanges();
  EXPECT_EQ(WritesSinceLoad(), 0);

  ASSERT_EQ(dict_->ReadRecord(2, record), tl::kRecordSize);
  record.SetText(tl::kDescription, tl::kDescriptionWidth, "changed");
  dict_->WriteRecord(2, record);
  dict_->FlushChanges();
  EXPECT_EQ(WritesSinceLoad(), 1);
  EXPECT_EQ(RecordInFile(2).bytes(), record.bytes());
}

TEST_F(WriteRecordTest, TheLastRecordReadAndOneAppendedAfterItReachTheFileWithOneWriteEach) {
  TagRec_T changed;
  ASSERT_EQ(dict_->ReadRecord(2, changed), tl::kRecordSize);
  changed.SetText(tl::kDescription, tl::kDescriptionWidth, "changed");
  dict_->WriteRecord(2, changed);
  ASSERT_EQ(dict_->FindOrAllocateRecord("C", 0).rec_no, 3);
  const TagRec_T appended = testing::MakeRecord({.name = "C"});
  dict_->WriteRecord(3, appended);
  dict_->FlushChanges();
  // The records read lie in the file's image, those appended after them elsewhere.
  EXPECT_EQ(WritesSinceLoad(), 2);
  EXPECT_EQ(RecordInFile(2).bytes(), changed.bytes());
  EXPECT_EQ(RecordInFile(3).bytes(), appended.bytes());
  EXPECT_EQ(dict_->Record(2)->bytes(), changed.bytes());
}

TEST(WriteNameIndex, WritesEachRecordsNameFieldWithZeroEntriesForFreeRecords) {
  TempDir dir;
  std::vector<std::optional<TestTag>> records;
  for (int n = 1; n <= 10; ++n) {
    records.push_back(n == 2 || n == 5 || n == 9
                          ? std::nullopt
                          : std::optional(TestTag{"Tag" + std::to_string(n)}));
  }
  testing::WriteDictionary(dir.path(), records);
  ScopedReportCapture capture;
  CTagDict dict(In(dir));
  dict.WriteNameIndex();
  const std::string ndx_path = dir.path().string() + "\\Tagnames.NDX";
  EXPECT_THAT(capture.messages(),
              ElementsAre(ReportedMessage{"        Created file " + ndx_path, 0, 0}));
  const std::string ndx = ReadFile(dir.path() / "Tagnames.NDX");
  ASSERT_EQ(ndx.size(), 1290u);
  for (int n = 1; n <= 10; ++n) {
    std::string expected(129, '\0');
    if (records[n - 1]) expected.replace(0, records[n - 1]->name.size(), records[n - 1]->name);
    EXPECT_EQ(ndx.substr((n - 1) * 129, 129), expected) << n;
  }
}

// More records than one piece of the index holds, so that it is written in several.
std::vector<std::optional<TestTag>> RecordsForSeveralPieces() {
  std::vector<std::optional<TestTag>> records;
  for (int n = 1; n <= 4100; ++n) {
    records.push_back(n % 7 == 0 ? std::nullopt
                                 : std::optional(TestTag{"Area" + std::to_string(n % 13) + "_Tag" +
                                                         std::to_string(n)}));
  }
  return records;
}

TEST(WriteNameIndex, ALargeIndexWrittenInPiecesHoldsEveryRecordsNameField) {
  TempDir dir;
  const std::vector<std::optional<TestTag>> records = RecordsForSeveralPieces();
  testing::WriteDictionary(dir.path(), records);
  testing::FaultyFileSystem counting(Env::Default().file_system());
  {
    CTagDict dict(In(dir));
    ScopedFileSystemOverride use(counting);
    dict.WriteNameIndex();
  }
  EXPECT_GT(counting.count(testing::FaultPoint::kWrite), 1);
  std::string expected;
  for (const std::optional<TestTag>& record : records) {
    std::string field(tl::kNameWidth, '\0');
    if (record) field.replace(0, record->name.size(), record->name);
    expected += field;
  }
  EXPECT_EQ(ReadFile(dir.path() / "Tagnames.NDX"), expected);
}

TEST(WriteNameIndex, AWriteFailingAfterTheFirstPieceReportsTheIndexAndKeepsTheOldOne) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), RecordsForSeveralPieces());
  WriteFile(dir.path() / "Tagnames.NDX", "old");
  CTagDict dict(In(dir));
  dict.FlushChanges();  // the index's writes are the only ones left
  testing::FaultyFileSystem faulty(Env::Default().file_system());
  faulty.FailNth(testing::FaultPoint::kWrite, 2, EIO);
  ScopedFileSystemOverride use(faulty);
  ScopedReportCapture capture;
  ::testing::internal::CaptureStderr();
  dict.WriteNameIndex();
  EXPECT_THAT(::testing::internal::GetCapturedStderr(), ::testing::HasSubstr("Input/output error"));
  EXPECT_THAT(capture.messages(),
              ElementsAre(ReportedMessage{
                  "Failed to open " + dir.path().string() + "\\Tagnames.NDX", 2, 1}));
  EXPECT_EQ(faulty.count(testing::FaultPoint::kWrite), 2);
  EXPECT_EQ(ReadFile(dir.path() / "Tagnames.NDX"), "old");
}

TEST(WriteNameIndex, ReportsAFailedOpenAndKeepsTheOldIndexWhenAnotherBuildHoldsIt) {
  TempDir dir;
  testing::WriteDictionary(dir.path(), {TestTag{"A"}});
  WriteFile(dir.path() / "Tagnames.NDX", "old");
  testing::LockHolder holder(dir.path() / "Tagnames.NDX");
  ScopedReportCapture capture;
  CTagDict dict(In(dir));
  dict.WriteNameIndex();
  EXPECT_THAT(capture.messages(),
              ElementsAre(ReportedMessage{
                  "Failed to open " + dir.path().string() + "\\Tagnames.NDX", 2, 1}));
  EXPECT_EQ(ReadFile(dir.path() / "Tagnames.NDX"), "old");
}

}  // namespace
}  // namespace quellor
