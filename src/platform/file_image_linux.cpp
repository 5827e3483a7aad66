#include "platform/file_image.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <tuple>
#include <utility>

#include "platform/file_system.h"
#include "platform/files.h"

namespace quellor {

namespace {

// The largest buffer of an image released, kept for the next image: a build reads one
// dictionary after another, each about as large as the one before, and memory used once costs
// neither page faults nor new pages when used again. (Given back to the heap, it could be split
// by smaller allocations before the next image asks for it.) Only buffers the size of a
// dictionary's records are kept: a smaller one costs little to make anew.
class SpareBuffer final {
 public:
  static SpareBuffer& Get() {
    static SpareBuffer spare;
    return spare;
  }

  bool Holds(std::size_t size) {
    const std::lock_guard lock(mutex_);
    return Fits(size);
  }

  // A buffer of at least `size` bytes and its size: the spare when it fits.
  std::pair<std::unique_ptr<std::uint8_t[]>, std::size_t> Take(std::size_t size) {
    const std::lock_guard lock(mutex_);
    if (!Fits(size)) return {std::make_unique_for_overwrite<std::uint8_t[]>(size), size};
    return {std::move(bytes_), std::exchange(size_, 0)};
  }

  // Keeps `bytes` when it is larger than the spare, else lets it go.
  void Keep(std::unique_ptr<std::uint8_t[]> bytes, std::size_t size) {
    const std::lock_guard lock(mutex_);
    if (size < kMinimum || size <= size_) return;
    bytes_ = std::move(bytes);
    size_ = size;
  }

 private:
  static constexpr std::size_t kMinimum = std::size_t{1} << 20;

  bool Fits(std::size_t size) const { return size >= kMinimum && size <= size_; }

  std::mutex mutex_;
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0;  // 0 when there is no spare
};

}  // namespace

bool FileImage::SpareHolds(std::size_t size) { return SpareBuffer::Get().Holds(size); }

FileImage FileImage::Buffer(std::size_t size) {
  FileImage image;
  std::tie(image.buffer_, image.buffer_size_) = SpareBuffer::Get().Take(size);
  image.data_ = image.buffer_.get();
  image.size_ = size;
  return image;
}

FileImage FileImage::Mapping(void* address, std::size_t size) {
  FileImage image;
  image.data_ = static_cast<std::uint8_t*>(address);
  image.size_ = size;
  return image;
}

FileImage::FileImage(FileImage&& other) noexcept { *this = std::move(other); }

FileImage& FileImage::operator=(FileImage&& other) noexcept {
  if (this == &other) return *this;
  Release();
  buffer_ = std::move(other.buffer_);
  buffer_size_ = std::exchange(other.buffer_size_, 0);
  data_ = std::exchange(other.data_, nullptr);
  size_ = std::exchange(other.size_, 0);
  return *this;
}

FileImage::~FileImage() { Release(); }

void FileImage::MakeOwn() {
  if (buffer_ != nullptr || data_ == nullptr) return;
  constexpr std::size_t kPiece = std::size_t{2} << 20;  // a multiple of any page size
  FileImage own = Buffer(size_);
  for (std::size_t offset = 0; offset < size_; offset += kPiece) {
    const std::size_t length = std::min(kPiece, size_ - offset);
    std::memcpy(own.data_ + offset, data_ + offset, length);
    munmap(data_ + offset, length);
  }
  data_ = nullptr;  // unmapped already
  *this = std::move(own);
}

void FileImage::Release() {
  if (buffer_ == nullptr && data_ != nullptr) munmap(data_, size_);
  if (buffer_ != nullptr) SpareBuffer::Get().Keep(std::move(buffer_), buffer_size_);
  buffer_size_ = 0;
  data_ = nullptr;
  size_ = 0;
}

Result<FileImage> File::ReadImage(std::size_t size) {
  FileImage image = FileImage::Buffer(size);
  if (Status read = ReadAtExactly(*this, 0, image.bytes()); !read.ok()) return read;
  return image;
}

}  // namespace quellor
