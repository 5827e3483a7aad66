// FileImage: the first bytes of a file in memory that is the reader's to change, as a buffer
// that ReadAt filled would hold. Changing it never changes the file.
//
// On the host it is a private mapping of the file's cached pages: reading a 60 MB file then
// copies nothing, and a page costs memory of its own only once it is written (copy on write).
// So while the image lives, writes to the file may show in the pages of the image not yet
// written, and the file must not shrink below it (a page past the file's new end could not be
// read): the files read this way are held under the program's exclusive lock, and written only
// with the bytes their image holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace quellor {

class FileImage final {
 public:
  FileImage() = default;
  // `size` bytes, not yet filled, for a reader that fills them itself.
  static FileImage Buffer(std::size_t size);
  // The `size` bytes mapped at `address`, unmapped when the image goes.
  static FileImage Mapping(void* address, std::size_t size);

  FileImage(FileImage&& other) noexcept;
  FileImage& operator=(FileImage&& other) noexcept;
  ~FileImage();

  std::span<std::uint8_t> bytes() const { return {data_, size_}; }

 private:
  void Release();

  std::unique_ptr<std::uint8_t[]> buffer_;  // a buffer's bytes; none for a mapping
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace quellor
