#include "platform/files.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>

#include <filesystem>

#include "platform/env.h"
#include "platform/process.h"
#include "platform/text_mode.h"
#include "testing/faulty_file_system.h"
#include "testing/lock_holder.h"
#include "testing/status_matchers.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {
namespace fs = std::filesystem;
using ::quellor::testing::FaultPoint;
using ::quellor::testing::FaultyFileSystem;
using ::quellor::testing::IsOk;
using ::quellor::testing::LockHolder;
using ::quellor::testing::ReadFile;
using ::quellor::testing::StatusIs;
using ::quellor::testing::TempDir;
using ::quellor::testing::TempPrefix;
using ::quellor::testing::WriteFile;

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() { prefix_.MapDrive('c', app_.path()); }

  TempDir app_;
  TempPrefix prefix_;
};

TEST_F(FilesTest, ExclusiveOpenIsRefusedWhileAnotherProcessHoldsTheFile) {
  WriteFile(app_.path() / "Tagname.X", "records");
  LockHolder other(app_.path() / "Tagname.X");
  EXPECT_THAT(OpenExclusive("C:\\TAGNAME.X", ExclusiveCreation::kOpenExisting),
              StatusIs(StatusCode::kHeld));
  other.Release();
  EXPECT_THAT(OpenExclusive("C:\\TAGNAME.X", ExclusiveCreation::kOpenExisting), IsOk());
}

TEST_F(FilesTest, ExclusiveOpenShutsOutASecondOpenerInTheSameProcess) {
  Result<std::unique_ptr<File>> first =
      OpenExclusive("C:\\Tag_Ext.X", ExclusiveCreation::kCreateIfMissing);
  ASSERT_THAT(first, IsOk());
  EXPECT_TRUE((*first)->created());
  EXPECT_THAT(OpenExclusive("C:\\Tag_Ext.X", ExclusiveCreation::kCreateIfMissing),
              StatusIs(StatusCode::kHeld));
}

TEST_F(FilesTest, ExclusiveOpenCreatesOnlyWhenAskedAndNeverTruncates) {
  EXPECT_THAT(OpenExclusive("C:\\Missing.X", ExclusiveCreation::kOpenExisting),
              StatusIs(StatusCode::kNotFound));
  EXPECT_FALSE(fs::exists(app_.path() / "Missing.X"));
  WriteFile(app_.path() / "Tagname.X", "0123456789");
  Result<std::unique_ptr<File>> file =
      OpenExclusive("C:\\Tagname.X", ExclusiveCreation::kCreateIfMissing);
  ASSERT_THAT(file, IsOk());
  EXPECT_FALSE((*file)->created());
  EXPECT_EQ(*ReadAll(**file), "0123456789");
}

TEST_F(FilesTest, FileHandleWritesAndReadsBlocksInPlaceAndExtends) {
  Result<std::unique_ptr<File>> opened =
      OpenExclusive("C:\\Tagname.X", ExclusiveCreation::kCreateIfMissing);
  ASSERT_THAT(opened, IsOk());
  File& file = **opened;
  ASSERT_THAT(file.Extend(8), IsOk());
  ASSERT_THAT(file.WriteAt(2, AsBytes("abc")), IsOk());
  ASSERT_THAT(file.Extend(4), IsOk());  // never shrinks
  EXPECT_EQ(*file.Size(), 8u);
  std::uint8_t block[16];
  Result<std::size_t> n = file.ReadAt(1, block);
  ASSERT_THAT(n, IsOk());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block), *n), std::string("\0abc\0\0\0", 7));
  ASSERT_THAT(file.Sync(), IsOk());
}

TEST_F(FilesTest, FailingFileSystemFailsTheChosenWriteOfAFileHandle) {
  FaultyFileSystem faulty(HostFileSystem());
  ScopedFileSystemOverride use(faulty);
  Result<std::unique_ptr<File>> opened =
      OpenExclusive("C:\\Tagname.X", ExclusiveCreation::kCreateIfMissing);
  ASSERT_THAT(opened, IsOk());
  faulty.FailNth(FaultPoint::kWrite, 2, ENOSPC);
  EXPECT_THAT((*opened)->WriteAt(0, AsBytes("header")), IsOk());
  EXPECT_THAT((*opened)->Extend(4096), StatusIs(StatusCode::kIoError));
  EXPECT_THAT((*opened)->WriteAt(6, AsBytes("record")), IsOk());
  EXPECT_EQ(faulty.count(FaultPoint::kWrite), 3);
  EXPECT_EQ(*ReadAll(**opened), "headerrecord");
}

TEST_F(FilesTest, ReadOnlyFileOrFolderIsRefusedForWritingEvenToRoot) {
  WriteFile(app_.path() / "DDE.CFG", "x");
  fs::permissions(app_.path() / "DDE.CFG", fs::perms::owner_read | fs::perms::group_read);
  EXPECT_THAT(OpenExclusive("C:\\DDE.CFG", ExclusiveCreation::kCreateIfMissing),
              StatusIs(StatusCode::kPermissionDenied));
  fs::create_directory(app_.path() / "Locked");
  fs::permissions(app_.path() / "Locked", fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_THAT(OpenExclusive("C:\\Locked\\New.X", ExclusiveCreation::kCreateIfMissing),
              StatusIs(StatusCode::kPermissionDenied));
  EXPECT_THAT(MakeDirectory("C:\\Locked\\Sub"), StatusIs(StatusCode::kPermissionDenied));
  EXPECT_FALSE(fs::exists(app_.path() / "Locked" / "New.X"));
  // Reading stays allowed.
  EXPECT_EQ(*ReadWholeFile("C:\\DDE.CFG"), "x");
}

TEST_F(FilesTest, MakeDirectoryFailsWhenTheFolderExistsOrItsParentIsMissing) {
  EXPECT_THAT(MakeDirectory("C:\\FactorySuite"), IsOk());
  EXPECT_TRUE(IsDirectory("C:\\factorysuite"));
  EXPECT_FALSE(MakeDirectory("C:\\FactorySuite").ok());
  EXPECT_THAT(MakeDirectory("C:\\Clients\\InTApps"), StatusIs(StatusCode::kNotFound));
}

TEST_F(FilesTest, ExistenceTestsAndReadsFollowThePathRules) {
  WriteFile(app_.path() / "appedit.lok", "");
  EXPECT_TRUE(PathExists("C:\\APPEDIT.LOK"));
  EXPECT_FALSE(IsDirectory("C:\\APPEDIT.LOK"));
  EXPECT_FALSE(PathExists("C:\\tagname.x"));
  EXPECT_FALSE(PathExists("Q:\\appedit.lok"));
  EXPECT_THAT(ReadWholeFile("C:\\none.cfg"), StatusIs(StatusCode::kNotFound));
  EXPECT_THAT(RemoveFile("C:\\appedit.lok"), IsOk());
  EXPECT_FALSE(PathExists("C:\\appedit.lok"));
}

TEST(TextMode, WritesCrLfAndReadsCrLfOrLfWithCtrlZEndingTheText) {
  EXPECT_EQ(ToCrLf("a\nb\r\n\n"), "a\r\nb\r\r\n\r\n");
  EXPECT_EQ(ToCrLf("\n\nlast line without an end"), "\r\n\r\nlast line without an end");
  EXPECT_EQ(ToCrLf(""), "");
  const struct {
    std::string bytes;
    CtrlZ ctrl_z;
    std::string text;
  } cases[] = {
      {"a\r\nb\nc", CtrlZ::kIsData, "a\nb\nc"},
      {"a\rb\r", CtrlZ::kIsData, "a\rb\r"},  // a lone CR stays
      {"a\r\r\nb", CtrlZ::kIsData, "a\r\nb"},
      {"a\r\n\x1A"
       "b\r\n",
       CtrlZ::kEndsText, "a\n"},
      {"a\x1A"
       "b",
       CtrlZ::kIsData,
       "a\x1A"
       "b"},
      {"\x1A", CtrlZ::kEndsText, ""},
      {"\r\n\r\nx\r", CtrlZ::kIsData, "\n\nx\r"},  // a CR at the very end stays
      {"", CtrlZ::kIsData, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FromCrLf(c.bytes, c.ctrl_z), c.text) << c.bytes;
}

TEST(Process, IgnoringTheFileSizeSignalLeavesItIgnored) {
  IgnoreFileSizeSignal();
  struct sigaction action;
  ASSERT_EQ(sigaction(SIGXFSZ, nullptr, &action), 0);
  EXPECT_EQ(action.sa_handler, SIG_IGN);
  EXPECT_TRUE(ProcessExists(CurrentProcessId()));
  EXPECT_FALSE(ProcessExists(0));
}

}  // namespace
}  // namespace quellor
