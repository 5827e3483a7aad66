#include "platform/file_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
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

// A file opened the ways the program opens one: the host's own (mapped), through a file system
// that forwards to it (mapped), and through the build preview's layer (read with ReadAt).
struct Opener {
  const char* name;
  std::function<Result<std::unique_ptr<File>>(FileSystem& layer, const std::string& path)> open;
};

void PrintTo(const Opener& opener, std::ostream* out) { *out << opener.name; }

const Opener kOpeners[] = {
    {"Host",
     [](FileSystem&, const std::string& path) {
       return HostFileSystem().Open(path, OpenOptions{.access = FileAccess::kReadWrite});
     }},
    {"Forwarded",
     [](FileSystem&, const std::string& path) -> Result<std::unique_ptr<File>> {
       Result<std::unique_ptr<File>> file = HostFileSystem().Open(path, OpenOptions{});
       if (!file.ok()) return file;
       return std::unique_ptr<File>(std::make_unique<ForwardingFile>(std::move(*file)));
     }},
    {"PreviewLayer",
     [](FileSystem& layer, const std::string& path) {
       return layer.Open(path, OpenOptions{.access = FileAccess::kReadWrite});
     }},
};

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
    Result<std::unique_ptr<File>> file = GetParam().open(layer_, path());
    EXPECT_THAT(file, IsOk());
    return file.ok() ? std::move(*file) : nullptr;
  }

  TempDir dir_;
  OverlayFileSystem layer_{HostFileSystem()};
  std::string content_;
};

TEST_P(FileImageTest, HoldsTheFilesFirstBytes) {
  std::unique_ptr<File> file = Open();
  ASSERT_NE(file, nullptr);
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{1}, std::size_t{4096}, std::size_t{5000}, content_.size()}) {
    Result<FileImage> image = file->ReadImage(size);
    ASSERT_THAT(image, IsOk()) << size;
    EXPECT_EQ(AsText(image->bytes()), content_.substr(0, size)) << size;
  }
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

TEST_P(FileImageTest, OutlivesItsFileAndMovesWithItsBytes) {
  std::unique_ptr<File> file = Open();
  ASSERT_NE(file, nullptr);
  Result<FileImage> image = file->ReadImage(content_.size());
  ASSERT_THAT(image, IsOk());
  file.reset();
  FileImage moved = std::move(*image);
  EXPECT_TRUE(image->bytes().empty());
  EXPECT_EQ(AsText(moved.bytes()), content_);
}

TEST_P(FileImageTest, AFileShorterThanTheImageIsCorrupt) {
  std::unique_ptr<File> file = Open();
  ASSERT_NE(file, nullptr);
  EXPECT_THAT(file->ReadImage(content_.size() + 1), StatusIs(StatusCode::kCorruption));
  EXPECT_THAT(file->ReadImage(content_.size() + 8192), StatusIs(StatusCode::kCorruption));
}

INSTANTIATE_TEST_SUITE_P(Openers, FileImageTest, ::testing::ValuesIn(kOpeners),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quellor
