#include "platform/file_appender.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/env.h"
#include "testing/faulty_file_system.h"
#include "testing/status_matchers.h"
#include "testing/temp_dir.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {
using ::quellor::testing::FaultPoint;
using ::quellor::testing::FaultyFileSystem;
using ::quellor::testing::IsOk;
using ::quellor::testing::ReadFile;
using ::quellor::testing::StatusIs;
using ::quellor::testing::TempDir;
using ::quellor::testing::TempPrefix;
using ::quellor::testing::WriteFile;

// Appends `pieces` in order through a buffer of `capacity` bytes.
ContentWriter AppendAll(const std::vector<std::string>& pieces, std::size_t capacity) {
  return [&pieces, capacity](File& out) {
    FileAppender appender(out, capacity);
    for (const std::string& piece : pieces) appender.Append(AsBytes(piece));
    return appender.Finish();
  };
}

class FileAppenderTest : public ::testing::Test {
 protected:
  FileAppenderTest() { prefix_.MapDrive('c', app_.path()); }

  TempDir app_;
  TempPrefix prefix_;
};

TEST_F(FileAppenderTest, WritesTheSameBytesAsOneWholeWriteInWritesOfAtMostTheCapacity) {
  const std::vector<std::string> pieces = {"Tag1", "", "LongerTagName", std::string(20, '\0'), "x"};
  std::string whole;
  for (const std::string& piece : pieces) whole += piece;
  const struct {
    std::size_t capacity;
    int writes;
  } cases[] = {{1, 38}, {5, 8}, {13, 3}, {38, 1}, {4096, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.capacity);
    FaultyFileSystem counting(HostFileSystem());
    ScopedFileSystemOverride use(counting);
    ASSERT_THAT(ReplaceFileAtomically("C:\\Tagnames.NDX", AppendAll(pieces, c.capacity)), IsOk());
    EXPECT_EQ(ReadFile(app_.path() / "Tagnames.NDX"), whole);
    EXPECT_EQ(counting.count(FaultPoint::kWrite), c.writes);
  }
}

TEST_F(FileAppenderTest, NothingAppendedMakesAnEmptyFileWithoutAWrite) {
  FaultyFileSystem counting(HostFileSystem());
  ScopedFileSystemOverride use(counting);
  ASSERT_THAT(ReplaceFileAtomically("C:\\Tagnames.NDX", AppendAll({}, 16)), IsOk());
  EXPECT_EQ(ReadFile(app_.path() / "Tagnames.NDX"), "");
  EXPECT_EQ(counting.count(FaultPoint::kWrite), 0);
}

TEST_F(FileAppenderTest, AWriteFailingPartWayEndsTheAppendingAndKeepsTheOldFile) {
  const std::vector<std::string> pieces(10, "0123456789");
  for (int failing = 1; failing <= 4; ++failing) {
    SCOPED_TRACE(failing);
    WriteFile(app_.path() / "Tagnames.NDX", "old");
    FaultyFileSystem faulty(HostFileSystem());
    ScopedFileSystemOverride use(faulty);
    faulty.FailNth(FaultPoint::kWrite, failing, ENOSPC);
    EXPECT_THAT(ReplaceFileAtomically("C:\\Tagnames.NDX", AppendAll(pieces, 25)),
                StatusIs(StatusCode::kIoError));
    EXPECT_EQ(faulty.count(FaultPoint::kWrite), failing);  // none after the failure
    EXPECT_EQ(ReadFile(app_.path() / "Tagnames.NDX"), "old");
  }
}

}  // namespace
}  // namespace quellor
