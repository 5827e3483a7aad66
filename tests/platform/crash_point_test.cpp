#include "platform/crash_point.h"

#include <gtest/gtest.h>

#include <functional>

#include "testing/status_matchers.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {
using ::quellor::testing::IsOk;
using ::quellor::testing::ReadFile;
using ::quellor::testing::TempDir;

OpenOptions ForWriting() {
  OpenOptions options;
  options.access = FileAccess::kReadWrite;
  options.creation = FileCreation::kCreateIfMissing;
  return options;
}

// Two counted writes ("ab"), then one call of the kind under test as the third: the process
// ends there, with the two writes on disk and the third call not made.
TEST(CrashPoint, TheNthCountedCallEndsTheProcessBeforeItIsMade) {
  const TempDir dir;
  const std::string path = dir.Join("out");
  using Call = std::function<Status(FileSystem&, File&)>;
  const struct {
    const char* kind;
    Call call;
  } cases[] = {
      {"write", [](FileSystem&, File& f) { return f.WriteAt(2, AsBytes("c")); }},
      {"extend", [](FileSystem&, File& f) { return f.Extend(100); }},
      {"file sync", [](FileSystem&, File& f) { return f.Sync(); }},
      {"rename",
       [&](FileSystem& fs, File&) { return fs.Rename(path, path + "2", RenameMode::kReplace); }},
      {"folder sync", [&](FileSystem& fs, File&) { return fs.SyncDirectory(dir.Join("")); }},
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(
        {
          CrashPointFileSystem hook(HostFileSystem(), 3);
          auto file = hook.Open(path, ForWriting());
          if (!file.ok()) _exit(1);
          if (!(*file)->WriteAt(0, AsBytes("a")).ok()) _exit(1);
          if (!(*file)->WriteAt(1, AsBytes("b")).ok()) _exit(1);
          (void)c.call(hook, **file);
          _exit(0);
        },
        ::testing::ExitedWithCode(kCrashExitCode), "")
        << c.kind;
    EXPECT_EQ(ReadFile(path), "ab") << c.kind;
  }
}

TEST(CrashPoint, ReadsOpensAndCallsBeforeTheChosenOneGoOn) {
  const TempDir dir;
  CrashPointFileSystem hook(HostFileSystem(), 3);
  auto file = hook.Open(dir.Join("out"), ForWriting());
  ASSERT_THAT(file.status(), IsOk());
  ASSERT_THAT((*file)->WriteAt(0, AsBytes("ab")), IsOk());
  std::uint8_t byte = 0;
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE((*file)->ReadAt(0, {&byte, 1}).ok());
    EXPECT_TRUE(hook.Stat(dir.Join("out"), true).ok());
    EXPECT_TRUE(hook.ListDirectory(dir.Join("")).ok());
  }
  EXPECT_THAT((*file)->Sync(), IsOk());
  EXPECT_EQ(ReadFile(dir.path() / "out"), "ab");
}

}  // namespace
}  // namespace quellor
