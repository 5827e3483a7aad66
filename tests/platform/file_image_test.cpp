#include "platform/file_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

#include "platform/file_system.h"
#include "platform/overlay_file_system.h"
#include "testing/status_matchers.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {
using ::quellor::testing::AsText;
using ::quellor::testing::IsOk;
using ::quellor::testing::ReadFile;
using ::quellor::testing::StatusIs;
using ::quellor::testing::TempDir;
using ::quellor::testing::WriteFile;

// Opened from the host's file system (mapped), or through the build preview's layer (read with
// ReadAt).
enum class Opener { kHost, kPreviewLayer };

class FileImageTest : public ::testing::TestWithParam<Opener> {
 protected:
  FileImageTest() {
    // Three pages and a part: an image may end inside a page or at the file's end.
    std::mt19937 random(7);
    content_.resize(3 * 4096 + 100);
    std::generate(content_.begin(), content_.end(), [&] { return static_cast<char>(random()); });
    WriteFile(path(), content_);
  }
  std::string path() const { return (dir_.path() / "Tagname.X").string(); }
  std::unique_ptr<File> Open() {
    FileSystem& file_system = GetParam() == Opener::kHost ? HostFileSystem() : layer_;
    Result<std::unique_ptr<File>> file =
        file_system.Open(path(), OpenOptions{.access = FileAccess::kReadWrite});
    EXPECT_THAT(file, IsOk());
    return file.ok() ? std::move(*file) : nullptr;
  }

  TempDir dir_;
  OverlayFileSystem layer_{HostFileSystem()};
  std::string content_;
};

TEST_P(FileImageTest, HoldsTheFilesFirstBytesAndOutlivesTheFile) {
  std::unique_ptr<File> file = Open();
  ASSERT_NE(file, nullptr);
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{1}, std::size_t{4096}, std::size_t{5000}}) {
    Result<FileImage> image = file->ReadImage(size);
    ASSERT_THAT(image, IsOk()) << size;
    EXPECT_EQ(AsText(image->bytes()), content_.substr(0, size)) << size;
  }
  Result<FileImage> whole = file->ReadImage(content_.size());
  ASSERT_THAT(whole, IsOk());
  file.reset();
  const FileImage moved = std::move(*whole);
  EXPECT_EQ(AsText(moved.bytes()), content_);
}

TEST_P(FileImageTest, WritingTheImageChangesNeitherTheFileNorALaterImage) {
  std::unique_ptr<File> file = Open();
  ASSERT_NE(file, nullptr);
  Result<FileImage> image = file->ReadImage(content_.size());
  ASSERT_THAT(image, IsOk());
  std::fill(image->bytes().begin(), image->bytes().end(), 0xAA);
  Result<FileImage> again = file->ReadImage(content_.size());
  ASSERT_THAT(again, IsOk());
  EXPECT_EQ(AsText(again->bytes()), content_);
  EXPECT_EQ(ReadFile(path()), content_);
}

TEST_P(FileImageTest, AFileShorterThanTheImageIsCorrupt) {
  std::unique_ptr<File> file = Open();
  ASSERT_NE(file, nullptr);
  EXPECT_THAT(file->ReadImage(content_.size() + 1), StatusIs(StatusCode::kCorruption));
  EXPECT_THAT(file->ReadImage(content_.size() + 8192), StatusIs(StatusCode::kCorruption));
}

// Two pieces and a part of what MakeOwn copies at a time, and large enough to be kept.
TEST(FileImageMakeOwnTest, KeepsTheBytesReadAndLendsItsBufferToTheNextImage) {
  std::mt19937 random(11);
  const auto random_text = [&random](std::size_t size) {
    std::string text(size, '\0');
    std::generate(text.begin(), text.end(), [&] { return static_cast<char>(random()); });
    return text;
  };
  const std::string before = random_text((4 << 20) + 100);
  const std::string after = random_text(before.size());
  TempDir dir;
  const std::string path = (dir.path() / "Tagname.X").string();
  WriteFile(path, before);
  Result<std::unique_ptr<File>> file =
      HostFileSystem().Open(path, OpenOptions{.access = FileAccess::kReadWrite});
  ASSERT_THAT(file, IsOk());
  Result<FileImage> image = (*file)->ReadImage(before.size());
  ASSERT_THAT(image, IsOk());

  image->MakeOwn();
  EXPECT_TRUE(AsText(image->bytes()) == before);  // not printed: megabytes
  // A mapping shows what is written to the file in the pages it has not written itself.
  ASSERT_THAT((*file)->WriteAt(
                  0, std::span(reinterpret_cast<const std::uint8_t*>(after.data()), after.size())),
              IsOk());
  EXPECT_TRUE(AsText(image->bytes()) == before);  // not printed: megabytes

  *image = FileImage();
  ASSERT_TRUE(FileImage::SpareHolds(before.size() - 4096));
  Result<FileImage> next = (*file)->ReadImage(before.size() - 4096);
  ASSERT_THAT(next, IsOk());
  EXPECT_TRUE(AsText(next->bytes()) == after.substr(0, before.size() - 4096));
}

INSTANTIATE_TEST_SUITE_P(Openers, FileImageTest,
                         ::testing::Values(Opener::kHost, Opener::kPreviewLayer),
                         [](const auto& info) {
                           return info.param == Opener::kHost ? "Host" : "PreviewLayer";
                         });

}  // namespace
}  // namespace quellor
