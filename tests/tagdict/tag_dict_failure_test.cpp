// Writes that fail after the files opened: each takes the path of a failed open of its file,
// with its one message and the system's reason on standard error, and nothing after it is
// written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "dictionary_files.h"
#include "platform/env.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using ::testing::ElementsAre;
using testing::FaultPoint;
using testing::FaultyFileSystem;
using testing::ReadFile;
using testing::TempDir;
using testing::TestTag;

TEST(TagDictFailure, EachFailedWriteReportsItsFileOnceAndClosesTheDictionary) {
  // Count the writes of a whole build: load repairs, one allocation, the index, the header.
  const auto build = [](const TempDir& dir) {
    CTagDict dict(TagDictOptions{.folder = dir.path().string()});
    dict.FindOrAllocateRecord("New", 0);
    dict.WriteNameIndex();
  };
  const auto fresh_dictionary = [](const TempDir& dir) {
    testing::WriteDictionary(dir.path(), {TestTag{"A"}, std::nullopt, TestTag{"A\\Orphan"}});
  };
  FaultyFileSystem faulty(Env::Default().file_system());
  int writes = 0;
  {
    TempDir dir;
    fresh_dictionary(dir);
    ScopedFileSystemOverride override(faulty);
    ScopedReportCapture capture;
    build(dir);
    writes = faulty.count(FaultPoint::kWrite);
  }
  ASSERT_GE(writes, 5);
  for (int nth = 1; nth <= writes; ++nth) {
    SCOPED_TRACE(nth);
    TempDir dir;
    fresh_dictionary(dir);
    const std::string header_before = ReadFile(dir.path() / "Tagname.X").substr(0, 40);
    FaultyFileSystem failing(Env::Default().file_system());
    failing.FailNth(FaultPoint::kWrite, nth, EIO);
    ScopedFileSystemOverride override(failing);
    ScopedReportCapture capture;
    ::testing::internal::CaptureStderr();
    build(dir);
    const std::string reason = ::testing::internal::GetCapturedStderr();
    const auto& messages = capture.messages();
    ASSERT_FALSE(messages.empty());
    const auto failures = std::count_if(messages.begin(), messages.end(),
                                        [](const ReportedMessage& m) { return m.level == 2; });
    EXPECT_EQ(failures, 1);
    const std::string& failure = std::find_if(messages.begin(), messages.end(), [](const auto& m) {
                                   return m.level == 2;
                                 })->text;
    EXPECT_THAT(failure, ::testing::StartsWith("Failed to open " + dir.path().string() + "\\"));
    // The file itself, or the replacement being written beside it.
    const std::string file = failure.substr(failure.rfind('\\') + 1);
    EXPECT_THAT(reason, ::testing::MatchesRegex(".*/(\\.~)?" + file +
                                                "(\\.[0-9]+)?: Input/output error\n"));
    if (failure.ends_with("Tagname.X") || failure.ends_with("Tag_Ext.X")) {
      // A dictionary that failed is closed: no header update, and no name index after it.
      EXPECT_EQ(ReadFile(dir.path() / "Tagname.X").substr(0, 40), header_before);
      const bool indexed = std::any_of(messages.begin(), messages.end(), [](const auto& m) {
        return m.text.starts_with("        Created file ");
      });
      EXPECT_EQ(std::filesystem::exists(dir.path() / "Tagnames.NDX"), indexed);
    }
  }
}

}  // namespace
}  // namespace quellor
