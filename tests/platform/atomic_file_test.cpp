#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/crash_point.h"
#include "platform/env.h"
#include "platform/path_lock.h"
#include "platform/process.h"
#include "platform/temporary_file.h"
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

class AtomicFileTest : public ::testing::Test {
 protected:
  AtomicFileTest() { prefix_.MapDrive('c', app_.path()); }

  // The names in the application folder, to see that nothing was left behind.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(app_.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::perms Mode(const fs::path& path) const { return fs::status(path).permissions(); }

  TempDir app_;
  TempPrefix prefix_;
};

TEST_F(AtomicFileTest, ReplacesTheContentKeepingTheModeAndTheEntrysCase) {
  WriteFile(app_.path() / "DDE.CFG", "old content");
  fs::permissions(app_.path() / "DDE.CFG", fs::perms(0640));
  ASSERT_THAT(ReplaceFileAtomically("C:\\dde.cfg", "new"), IsOk());
  EXPECT_EQ(ReadFile(app_.path() / "DDE.CFG"), "new");
  EXPECT_EQ(Mode(app_.path() / "DDE.CFG"), fs::perms(0640));
  EXPECT_EQ(Entries(), std::vector<std::string>{"DDE.CFG"});
}

TEST_F(AtomicFileTest, CreatesTheTargetOnlyWhenAllowed) {
  EXPECT_THAT(ReplaceFileAtomically("C:\\TagBrw.DAT", "x", {.create_if_missing = false}),
              StatusIs(StatusCode::kNotFound));
  EXPECT_TRUE(Entries().empty());
  ASSERT_THAT(ReplaceFileAtomically("C:\\TagBrw.DAT", "x"), IsOk());
  EXPECT_EQ(ReadFile(app_.path() / "TagBrw.DAT"), "x");
  EXPECT_THAT(ReplaceFileAtomically("C:\\NoFolder\\TagBrw.DAT", "x"),
              StatusIs(StatusCode::kNotFound));
}

TEST_F(AtomicFileTest, AFailureBeforeTheRenameLeavesTheOldFileAndNoTemporaryFile) {
  const struct {
    FaultPoint point;
    int error;
  } cases[] = {
      {FaultPoint::kWrite, EIO},
      {FaultPoint::kWrite, ENOSPC},
      {FaultPoint::kSync, EIO},
      {FaultPoint::kRename, EIO},
  };
  for (const auto& c : cases) {
    WriteFile(app_.path() / "Tagnames.NDX", "old");
    FaultyFileSystem faulty(HostFileSystem());
    ScopedFileSystemOverride use(faulty);
    faulty.FailNth(c.point, 1, c.error);
    const Status status = ReplaceFileAtomically("C:\\Tagnames.NDX", "new content");
    EXPECT_THAT(status, StatusIs(StatusCode::kIoError));
    EXPECT_NE(status.message().find(std::strerror(c.error)), std::string::npos)
        << status.ToString();
    EXPECT_EQ(ReadFile(app_.path() / "Tagnames.NDX"), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Tagnames.NDX"});
  }
}

TEST_F(AtomicFileTest, AFailedAttemptThatCreatedTheTargetLeavesNothingBehind) {
  for (FaultPoint point : {FaultPoint::kWrite, FaultPoint::kSync, FaultPoint::kRename}) {
    FaultyFileSystem faulty(HostFileSystem());
    ScopedFileSystemOverride use(faulty);
    faulty.FailNth(point, 1, ENOSPC);
    EXPECT_FALSE(ReplaceFileAtomically("C:\\TagImport.txt", "rows").ok());
    EXPECT_TRUE(Entries().empty());
  }
}

TEST_F(AtomicFileTest, ABuildEndedWhileCreatingTheTargetLeavesNoFileOrTheWholeFile) {
  // The temporary file's write, its sync, the rename, the folder's sync.
  for (int crash_at = 1; crash_at <= 4; ++crash_at) {
    EXPECT_EXIT(
        {
          CrashPointFileSystem hook(HostFileSystem(), crash_at);
          ScopedFileSystemOverride use(hook);
          (void)ReplaceFileAtomically("C:\\DDE.CFG", "whole content");
          _exit(0);
        },
        ::testing::ExitedWithCode(kCrashExitCode), "")
        << crash_at;
    if (crash_at <= 3) {
      EXPECT_FALSE(fs::exists(app_.path() / "DDE.CFG")) << crash_at;
    } else {
      EXPECT_EQ(ReadFile(app_.path() / "DDE.CFG"), "whole content");
    }
    // The next replacement takes the dead build's temporary file away.
    ASSERT_THAT(ReplaceFileAtomically("C:\\DDE.CFG", "next"), IsOk());
    EXPECT_EQ(Entries(), std::vector<std::string>{"DDE.CFG"});
    fs::remove(app_.path() / "DDE.CFG");
  }
}

TEST_F(AtomicFileTest, AFailedFolderSyncAfterTheRenameIsReportedWithTheNewFileInPlace) {
  WriteFile(app_.path() / "DDE.CFG", "old");
  FaultyFileSystem faulty(HostFileSystem());
  ScopedFileSystemOverride use(faulty);
  faulty.FailNth(FaultPoint::kSync, 2, EIO);  // the temporary file's sync is the first
  EXPECT_THAT(ReplaceFileAtomically("C:\\DDE.CFG", "new"), StatusIs(StatusCode::kIoError));
  EXPECT_EQ(ReadFile(app_.path() / "DDE.CFG"), "new");
  EXPECT_EQ(faulty.count(FaultPoint::kWrite), 1);
  EXPECT_EQ(faulty.count(FaultPoint::kRename), 1);
  EXPECT_EQ(Entries(), std::vector<std::string>{"DDE.CFG"});
}

TEST_F(AtomicFileTest, RefusesAReadOnlyTargetEvenAsRoot) {
  WriteFile(app_.path() / "DDE.CFG", "old");
  fs::permissions(app_.path() / "DDE.CFG", fs::perms(0444));
  EXPECT_THAT(ReplaceFileAtomically("C:\\DDE.CFG", "new"), StatusIs(StatusCode::kPermissionDenied));
  EXPECT_EQ(ReadFile(app_.path() / "DDE.CFG"), "old");
}

TEST_F(AtomicFileTest, RefusesATargetHeldByAnotherBuild) {
  WriteFile(app_.path() / "DDE.CFG", "old");
  LockHolder other(app_.path() / "DDE.CFG");
  EXPECT_THAT(ReplaceFileAtomically("C:\\DDE.CFG", "new"), StatusIs(StatusCode::kHeld));
  EXPECT_EQ(ReadFile(app_.path() / "DDE.CFG"), "old");
}

TEST_F(AtomicFileTest, WritesThroughALockThisProcessHoldsOnThePath) {
  WriteFile(app_.path() / "AppList.INI", "old");
  Result<PathLock> lock = PathLock::Acquire("C:\\AppList.INI");
  ASSERT_THAT(lock, IsOk());
  ASSERT_THAT(ReplaceFileAtomically("C:\\AppList.INI", "new"), IsOk());
  EXPECT_EQ(ReadFile(app_.path() / "AppList.INI"), "new");
}

TEST_F(AtomicFileTest, KeepsASymbolicLinkALinkAndReplacesTheFileItNames) {
  TempDir elsewhere;
  WriteFile(elsewhere.path() / "real.cfg", "old");
  fs::create_symlink(elsewhere.path() / "real.cfg", app_.path() / "DDE.CFG");
  ASSERT_THAT(ReplaceFileAtomically("C:\\DDE.CFG", "new"), IsOk());
  EXPECT_TRUE(fs::is_symlink(app_.path() / "DDE.CFG"));
  EXPECT_EQ(ReadFile(elsewhere.path() / "real.cfg"), "new");
  EXPECT_EQ(Entries(), std::vector<std::string>{"DDE.CFG"});
}

TEST_F(AtomicFileTest, RemovesLeftoversOfDeadProcessesButNotOfLiveOnes) {
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  ASSERT_GT(dead, 0);
  waitpid(dead, nullptr, 0);
  const std::string of_dead = TemporaryFileName("DDE.CFG", dead);
  const std::string of_live = TemporaryFileName("DDE.CFG", 1);
  const std::string of_other = TemporaryFileName("TagBrw.DAT", dead);
  for (const std::string& name : {of_dead, of_live, of_other}) WriteFile(app_.path() / name, "");
  ASSERT_THAT(ReplaceFileAtomically("C:\\DDE.CFG", "new"), IsOk());
  std::vector<std::string> expected = {"DDE.CFG", of_live, of_other};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Entries(), expected);
}

}  // namespace
}  // namespace quellor
