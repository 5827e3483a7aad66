#include "platform/overlay_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/overlay_content.h"
#include "testing/lock_holder.h"
#include "testing/status_matchers.h"
#include "testing/temp_dir.h"
#include "testing/test_seed.h"

namespace quellor {
namespace {
namespace fs = std::filesystem;
using ::quellor::testing::IsOk;
using ::quellor::testing::LockHolder;
using ::quellor::testing::ReadFile;
using ::quellor::testing::StatusIs;
using ::quellor::testing::TempDir;
using ::quellor::testing::WriteFile;

std::span<std::uint8_t> Bytes(std::string& text) {
  return {reinterpret_cast<std::uint8_t*>(text.data()), text.size()};
}

// Every entry under `root` with its mode, size, modification time and bytes.
std::vector<std::string> Below(const fs::path& root) {
  std::vector<std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const fs::path& path = entry.path();
    std::string line = fs::relative(path, root).string() + " " +
                       std::to_string(static_cast<int>(fs::symlink_status(path).permissions()));
    if (entry.is_symlink()) {
      line += " -> " + fs::read_symlink(path).string();
    } else if (entry.is_regular_file()) {
      line += " " + std::to_string(fs::last_write_time(path).time_since_epoch().count()) + " " +
              ReadFile(path);
    }
    entries.push_back(line);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

class OverlayFileSystemTest : public ::testing::Test {
 protected:
  std::string At(const std::string& relative) const { return (dir_.path() / relative).string(); }

  Result<std::string> ReadThroughLayer(const std::string& relative) {
    Result<std::unique_ptr<File>> file = layer_.Open(At(relative), OpenOptions{});
    if (!file.ok()) return file.status();
    return ReadAll(**file);
  }

  Status WriteThroughLayer(const std::string& relative, std::uint64_t offset, std::string bytes,
                           FileCreation creation = FileCreation::kCreateIfMissing) {
    OpenOptions options;
    options.access = FileAccess::kReadWrite;
    options.creation = creation;
    Result<std::unique_ptr<File>> file = layer_.Open(At(relative), options);
    if (!file.ok()) return file.status();
    return (*file)->WriteAt(offset, Bytes(bytes));
  }

  TempDir dir_;
  OverlayFileSystem layer_{HostFileSystem()};
};

TEST_F(OverlayFileSystemTest, EveryChangeIsSeenThroughTheLayerAndNoneBelow) {
  WriteFile(dir_.path() / "Old.txt", "old bytes");
  WriteFile(dir_.path() / "Gone.txt", "removed");
  WriteFile(dir_.path() / "Replaced.txt", "replaced");
  fs::create_directory(dir_.path() / "Sub");
  const std::vector<std::string> before = Below(dir_.path());

  EXPECT_THAT(WriteThroughLayer("New.txt", 0, "new"), IsOk());
  EXPECT_THAT(WriteThroughLayer("Old.txt", 4, "BYTES and more"), IsOk());
  EXPECT_THAT(layer_.MakeDirectory(At("Sub/Made")), IsOk());
  EXPECT_THAT(WriteThroughLayer("Sub/Made/Deep.txt", 2, "x"), IsOk());
  EXPECT_THAT(layer_.Remove(At("Gone.txt")), IsOk());
  EXPECT_THAT(layer_.Rename(At("New.txt"), At("Replaced.txt"), RenameMode::kReplace), IsOk());
  EXPECT_THAT(layer_.Symlink("Old.txt", At("Link")), IsOk());
  EXPECT_THAT(layer_.Rename(At("Old.txt"), At("Replaced.txt"), RenameMode::kNoReplace),
              StatusIs(StatusCode::kIoError));

  EXPECT_EQ(ReadThroughLayer("Old.txt").value(), "old BYTES and more");
  EXPECT_EQ(ReadThroughLayer("Link").value(), "old BYTES and more");
  EXPECT_EQ(ReadThroughLayer("Replaced.txt").value(), "new");
  EXPECT_EQ(ReadThroughLayer("Sub/Made/Deep.txt").value(), std::string("\0\0x", 3));
  EXPECT_THAT(ReadThroughLayer("Gone.txt").status(), StatusIs(StatusCode::kNotFound));
  EXPECT_THAT(ReadThroughLayer("New.txt").status(), StatusIs(StatusCode::kNotFound));
  Result<std::vector<std::string>> names = layer_.ListDirectory(dir_.path().string());
  ASSERT_THAT(names.status(), IsOk());
  EXPECT_EQ(*names, (std::vector<std::string>{"Link", "Old.txt", "Replaced.txt", "Sub"}));
  EXPECT_EQ(layer_.Stat(At("Sub/Made"), true)->type, FileType::kDirectory);

  // A handle opened for writing follows its file through a rename.
  OpenOptions writing;
  writing.access = FileAccess::kReadWrite;
  Result<std::unique_ptr<File>> handle = layer_.Open(At("Sub/Made/Deep.txt"), writing);
  ASSERT_THAT(handle.status(), IsOk());
  EXPECT_THAT(layer_.Rename(At("Sub/Made/Deep.txt"), At("Moved.txt"), RenameMode::kReplace),
              IsOk());
  std::string moved = "yz";
  EXPECT_THAT((*handle)->WriteAt(0, Bytes(moved)), IsOk());
  EXPECT_EQ(ReadThroughLayer("Moved.txt").value(), "yzx");

  EXPECT_EQ(Below(dir_.path()), before);
}

TEST_F(OverlayFileSystemTest, AFileUpdatedInPlaceHoldsOnlyTheRangesWritten) {
  std::string expected(1 << 20, 'r');
  WriteFile(dir_.path() / "Tagname.X", expected);
  OpenOptions options;
  options.access = FileAccess::kReadWrite;
  Result<std::unique_ptr<File>> file = layer_.Open(At("Tagname.X"), options);
  ASSERT_THAT(file.status(), IsOk());
  // A rewrite of the whole file with its own bytes holds nothing.
  ASSERT_THAT((*file)->WriteAt(0, Bytes(expected)), IsOk());
  EXPECT_EQ(layer_.HeldBytes(), 0u);
  for (int record = 0; record < 10; ++record) {
    std::string bytes(100, static_cast<char>('0' + record));
    const std::uint64_t offset = 50000 * record + 7;
    ASSERT_THAT((*file)->WriteAt(offset, Bytes(bytes)), IsOk());
    ASSERT_THAT((*file)->WriteAt(offset, Bytes(bytes)), IsOk());  // again, in place
    expected.replace(offset, bytes.size(), bytes);
  }
  EXPECT_EQ(layer_.HeldBytes(), 1000u);
  EXPECT_EQ(ReadAll(**file).value(), expected);
  EXPECT_EQ(ReadFile(dir_.path() / "Tagname.X"), std::string(1 << 20, 'r'));
}

TEST_F(OverlayFileSystemTest, ReadOnlyFilesAndFoldersAreRefusedForWritingAsBelow) {
  WriteFile(dir_.path() / "ReadOnly.txt", "kept");
  fs::permissions(dir_.path() / "ReadOnly.txt", fs::perms::owner_read);
  fs::create_directory(dir_.path() / "Locked");
  fs::permissions(dir_.path() / "Locked", fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_THAT(WriteThroughLayer("ReadOnly.txt", 0, "x"), StatusIs(StatusCode::kPermissionDenied));
  EXPECT_THAT(WriteThroughLayer("Locked/New.txt", 0, "x"), StatusIs(StatusCode::kPermissionDenied));
  EXPECT_THAT(layer_.MakeDirectory(At("Locked/Folder")), StatusIs(StatusCode::kPermissionDenied));
  EXPECT_THAT(WriteThroughLayer("Missing/New.txt", 0, "x"), StatusIs(StatusCode::kNotFound));
  EXPECT_EQ(ReadThroughLayer("ReadOnly.txt").value(), "kept");
  // A mode set in the layer counts as the rule's mode from then on.
  WriteFile(dir_.path() / "Writable.txt", "w");
  OpenOptions folder;
  Result<std::unique_ptr<File>> opened = layer_.Open(At("Writable.txt"), folder);
  ASSERT_THAT((*opened)->SetMode(0444), IsOk());
  EXPECT_THAT(WriteThroughLayer("Writable.txt", 0, "x"), StatusIs(StatusCode::kPermissionDenied));
  EXPECT_NE(fs::status(dir_.path() / "Writable.txt").permissions() & fs::perms::owner_write,
            fs::perms::none);
}

TEST_F(OverlayFileSystemTest, PathsThroughALinkedFolderNameTheSameEntries) {
  fs::create_directory(dir_.path() / "Real");
  fs::create_directory_symlink("Real", dir_.path() / "Drive");
  EXPECT_THAT(WriteThroughLayer("Drive/A.txt", 0, "through the link"), IsOk());
  EXPECT_EQ(ReadThroughLayer("Real/A.txt").value(), "through the link");
  EXPECT_EQ(layer_.RealPath(At("Drive/../Drive/A.txt")).value(),
            fs::canonical(dir_.path()).string() + "/Real/A.txt");
  // A folder made in the layer behind a link made in the layer.
  EXPECT_THAT(layer_.MakeDirectory(At("Made")), IsOk());
  EXPECT_THAT(layer_.Symlink("Made", At("Alias")), IsOk());
  EXPECT_THAT(WriteThroughLayer("Alias/B.txt", 0, "b"), IsOk());
  EXPECT_EQ(layer_.ListDirectory(At("Made")).value(), std::vector<std::string>{"B.txt"});
  EXPECT_FALSE(fs::exists(dir_.path() / "Real" / "A.txt"));
}

TEST_F(OverlayFileSystemTest, LocksAreTakenOnTheFilesAndFoldersBelow) {
  WriteFile(dir_.path() / "AppList.INI", "");
  OpenOptions exclusive;
  exclusive.access = FileAccess::kReadWrite;
  exclusive.lock = FileLock::kExclusiveNoWait;
  {
    LockHolder other_build(dir_.path() / "AppList.INI");
    EXPECT_THAT(layer_.Open(At("AppList.INI"), exclusive).status(), StatusIs(StatusCode::kHeld));
  }
  Result<std::unique_ptr<File>> held = layer_.Open(At("AppList.INI"), exclusive);
  ASSERT_THAT(held.status(), IsOk());
  EXPECT_THAT(HostFileSystem().Open(At("AppList.INI"), exclusive).status(),
              StatusIs(StatusCode::kHeld));
  OpenOptions folder;
  folder.directory = true;
  folder.lock = FileLock::kExclusiveNoWait;
  Result<std::unique_ptr<File>> folder_lock = layer_.Open(dir_.path().string(), folder);
  ASSERT_THAT(folder_lock.status(), IsOk());
  EXPECT_THAT(HostFileSystem().Open(dir_.path().string(), folder).status(),
              StatusIs(StatusCode::kHeld));
}

// Random writes, rewrites of the bytes already there and cuts over a file below, against a
// plain string; the bytes held are at most the bytes ever written still inside the file.
TEST(OverlayContentTest, FollowsAStringThroughRandomWritesAndCuts) {
  const std::uint32_t first_seed = testing::TestSeed(7);
  for (std::uint32_t seed = first_seed; seed < first_seed + 20; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    TempDir dir;
    std::string model(random() % 5000, 'b');
    WriteFile(dir.path() / "below", model);
    OpenOptions reading;
    Result<std::unique_ptr<File>> below =
        HostFileSystem().Open((dir.path() / "below").string(), reading);
    ASSERT_THAT(below.status(), IsOk());
    OverlayContent content(std::move(below).value(), model.size());
    std::vector<bool> written(model.size(), false);
    for (int step = 0; step < 200; ++step) {
      const std::uint64_t offset = random() % 6000;
      if (random() % 8 == 0) {
        content.Resize(offset);
        model.resize(offset, '\0');
        written.resize(offset, false);
        continue;
      }
      std::string bytes(1 + random() % 300, static_cast<char>('A' + step % 26));
      if (random() % 4 == 0 && offset < model.size()) {
        // Bytes the file holds already: held no more than they were.
        bytes = model.substr(offset, bytes.size());
        content.WriteAt(offset,
                        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
        std::fill_n(written.begin() + static_cast<std::ptrdiff_t>(offset), bytes.size(), true);
        continue;
      }
      content.WriteAt(offset, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
      if (model.size() < offset + bytes.size()) {
        model.resize(offset + bytes.size(), '\0');
        written.resize(model.size(), false);
      }
      model.replace(offset, bytes.size(), bytes);
      std::fill_n(written.begin() + static_cast<std::ptrdiff_t>(offset), bytes.size(), true);
    }
    std::string read(model.size() + 10, '?');
    ASSERT_EQ(content.ReadAt(0, Bytes(read)).value(), model.size());
    read.resize(model.size());
    EXPECT_EQ(read, model);
    EXPECT_LE(content.written_bytes(),
              static_cast<std::uint64_t>(std::count(written.begin(), written.end(), true)));
    std::string middle(100, '?');
    if (model.size() > 150) {
      ASSERT_EQ(content.ReadAt(50, Bytes(middle)).value(), 100u);
      EXPECT_EQ(middle, model.substr(50, 100));
    }
  }
}

}  // namespace
}  // namespace quellor
