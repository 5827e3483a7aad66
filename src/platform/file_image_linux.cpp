#include "platform/file_image.h"

#include <sys/mman.h>

#include <utility>

#include "platform/file_system.h"
#include "platform/files.h"

namespace quellor {

FileImage FileImage::Buffer(std::size_t size) {
  FileImage image;
  image.buffer_ = std::make_unique_for_overwrite<std::uint8_t[]>(size);
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
  data_ = std::exchange(other.data_, nullptr);
  size_ = std::exchange(other.size_, 0);
  return *this;
}

FileImage::~FileImage() { Release(); }

void FileImage::Release() {
  if (buffer_ == nullptr && data_ != nullptr) munmap(data_, size_);
  buffer_.reset();
  data_ = nullptr;
  size_ = 0;
}

Result<FileImage> File::ReadImage(std::size_t size) {
  FileImage image = FileImage::Buffer(size);
  if (Status read = ReadAtExactly(*this, 0, image.bytes()); !read.ok()) return read;
  return image;
}

}  // namespace quellor
