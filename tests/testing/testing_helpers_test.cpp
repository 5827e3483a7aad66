// The shared helpers are checked once here, so later tests can rely on them.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "testing/lock_holder.h"
#include "testing/run_binary.h"
#include "testing/status_matchers.h"
#include "testing/temp_dir.h"
#include "testing/temp_prefix.h"

namespace quellor::testing {
namespace {
namespace fs = std::filesystem;

bool CanLock(const fs::path& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  EXPECT_GE(fd, 0);
  const bool locked = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return locked;
}

TEST(TempDir, HasNoDotAndRemovesEvenReadOnlyContent) {
  fs::path kept;
  {
    TempDir dir;
    kept = dir.path();
    EXPECT_EQ(kept.filename().string().find('.'), std::string::npos);
    fs::create_directories(dir.path() / "ro" / "sub");
    WriteFile(dir.path() / "ro" / "sub" / "file", "x");
    fs::permissions(dir.path() / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(ReadFile(dir.path() / "ro" / "sub" / "file"), "x");
  }
  EXPECT_FALSE(fs::exists(kept));
}

TEST(TempPrefix, SetsAndRestoresQuellorPrefix) {
  ScopedEnv outer("QUELLOR_PREFIX", "before");
  {
    TempPrefix prefix;
    EXPECT_EQ(std::getenv("QUELLOR_PREFIX"), prefix.path().string());
    prefix.MapDrive('C', prefix.path());
    EXPECT_TRUE(fs::is_symlink(prefix.path() / "dosdevices" / "c:"));
  }
  EXPECT_STREQ(std::getenv("QUELLOR_PREFIX"), "before");
}

TEST(LockHolder, HoldsFileAndFolderLocksUntilReleased) {
  TempDir dir;
  const fs::path file = dir.path() / "Tagname.X";
  WriteFile(file, "");
  for (const fs::path& target : {file, dir.path()}) {
    LockHolder holder(target);
    EXPECT_FALSE(CanLock(target)) << target;
    holder.Release();
    EXPECT_TRUE(CanLock(target)) << target;
  }
}

TEST(RunBinary, CapturesOutputAndErrorSeparatelyWithExitCode) {
  TempDir dir;
  RunOptions options;
  options.env = {{"QT_SAMPLE", "value"}, {"HOME", std::nullopt}};
  options.working_dir = dir.path();
  const RunResult result = RunBinary(
      "/bin/sh", {"-c", "echo out $QT_SAMPLE ${HOME-none}; pwd; echo err >&2; exit 3"}, options);
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_EQ(result.out, "out value none\n" + dir.path().string() + "\n");
  EXPECT_EQ(result.err, "err\n");
}

TEST(RunBinary, ReportsTheSignalThatEndedTheProcess) {
  const RunResult result = RunBinary("/bin/sh", {"-c", "kill -9 $$"});
  EXPECT_EQ(result.exit_code, 128 + 9);
}

TEST(StatusMatchers, MatchCodeAndMessage) {
  EXPECT_THAT(Status::Ok(), IsOk());
  EXPECT_THAT(Status::NotFound("a"), StatusIs(StatusCode::kNotFound));
  EXPECT_THAT(Status::NotFound("a"), StatusIs(StatusCode::kNotFound, "a"));
  EXPECT_THAT(Status::NotFound("a"), ::testing::Not(StatusIs(StatusCode::kNotFound, "b")));
  EXPECT_THAT(Result<int>(Status::Held("x")), StatusIs(StatusCode::kHeld, "x"));
  EXPECT_THAT(Result<int>(4), IsOk());
}

}  // namespace
}  // namespace quellor::testing
