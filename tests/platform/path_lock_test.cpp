#include "platform/path_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "platform/atomic_file.h"
#include "testing/lock_holder.h"
#include "testing/status_matchers.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {
namespace fs = std::filesystem;
using ::quellor::testing::IsOk;
using ::quellor::testing::LockHolder;
using ::quellor::testing::StatusIs;
using ::quellor::testing::TempDir;
using ::quellor::testing::TempPrefix;

// Whether another process could take the lock on `path` right now.
bool AnotherProcessCanLock(const fs::path& path) {
  const pid_t child = fork();
  if (child == 0) {
    const int fd = open(path.c_str(), O_RDONLY);
    _exit(fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class PathLockTest : public ::testing::Test {
 protected:
  PathLockTest() {
    fs::create_directory(clients_.path() / "Unit1");
    prefix_.MapDrive('c', clients_.path());
  }

  TempDir clients_;
  TempPrefix prefix_;
};

TEST_F(PathLockTest, WaitsForTheBuildThatHoldsTheFolder) {
  LockHolder other(clients_.path() / "Unit1");
  std::atomic<bool> acquired{false};
  std::thread build([&] {
    Result<PathLock> lock = PathLock::Acquire("C:\\UNIT1");
    acquired = lock.ok();
  });
  EXPECT_FALSE(acquired);  // cannot have it while the other build holds the folder
  other.Release();
  build.join();
  EXPECT_TRUE(acquired);
}

TEST_F(PathLockTest, IsReentrantAndReleasedWhenTheLastHolderGoes) {
  const fs::path folder = clients_.path() / "Unit1";
  std::optional<Result<PathLock>> first = PathLock::Acquire("C:\\Unit1");
  ASSERT_THAT(*first, IsOk());
  Result<PathLock> second = PathLock::Acquire("c:\\unit1\\");  // the same resolved folder
  ASSERT_THAT(second, IsOk());
  EXPECT_TRUE(ProcessHoldsPathLock(folder.string()));
  first.reset();
  EXPECT_FALSE(AnotherProcessCanLock(folder));
  EXPECT_TRUE(ProcessHoldsPathLock(folder.string()));
  {
    PathLock moved = std::move(*second);
    EXPECT_FALSE(AnotherProcessCanLock(folder));
  }
  EXPECT_TRUE(AnotherProcessCanLock(folder));
  EXPECT_FALSE(ProcessHoldsPathLock(folder.string()));
}

TEST_F(PathLockTest, CreatesAMissingListFileEmptyOnlyWhenAskedAndItsFolderExists) {
  EXPECT_THAT(PathLock::Acquire("C:\\AppList.INI"), StatusIs(StatusCode::kNotFound));
  EXPECT_THAT(PathLock::Acquire("C:\\NoFolder\\AppList.INI", true),
              StatusIs(StatusCode::kNotFound));
  fs::create_directory(clients_.path() / "ReadOnly");
  fs::permissions(clients_.path() / "ReadOnly", fs::perms(0555));
  EXPECT_THAT(PathLock::Acquire("C:\\ReadOnly\\AppList.INI", true),
              StatusIs(StatusCode::kPermissionDenied));
  EXPECT_FALSE(fs::exists(clients_.path() / "ReadOnly" / "AppList.INI"));
  Result<PathLock> lock = PathLock::Acquire("C:\\AppList.INI", true);
  ASSERT_THAT(lock, IsOk());
  EXPECT_EQ(fs::file_size(clients_.path() / "AppList.INI"), 0u);
  EXPECT_FALSE(AnotherProcessCanLock(clients_.path() / "AppList.INI"));
}

TEST_F(PathLockTest, KeepsAListFileLockedAcrossItsReplacements) {
  const fs::path list = clients_.path() / "AppList.INI";
  std::optional<Result<PathLock>> lock = PathLock::Acquire("C:\\AppList.INI", true);
  ASSERT_THAT(*lock, IsOk());
  for (const char* content : {"[InTouch]\r\nAppCount=1\r\n", "[InTouch]\r\nAppCount=2\r\n"}) {
    ASSERT_THAT(ReplaceFileAtomically("C:\\AppList.INI", content), IsOk());
    EXPECT_FALSE(AnotherProcessCanLock(list)) << "the new file must be locked from the start";
  }
  lock.reset();
  EXPECT_TRUE(AnotherProcessCanLock(list));
}

}  // namespace
}  // namespace quellor
