// FileImage: the first bytes of a file in memory that is the reader's to change, as a buffer
// that ReadAt filled would hold. Changing it never changes the file.
//
// On the host it is a private mapping of the file's cached pages: reading a 60 MB file then
// copies nothing, and a page costs memory of its own only once it is written (copy on write).
// So while the image lives, writes to the file may show in the pages of the image not yet
// written, and the file must not shrink below it (a page past the file's new end could not be
// read): the files read this way are held under the program's exclusive lock, and written only
// with the bytes their image holds. Where a buffer the process kept fits, the host reads into
// it instead (Buffer below).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace quellor {

class FileImage final {
 public:
  FileImage() = default;
  // `size` bytes, not yet filled, for a reader that fills them itself. The largest buffer of a
  // dictionary's size that an image released is kept for the next one (a build reads one
  // dictionary after another): memory used once costs neither faults nor new pages.
  static FileImage Buffer(std::size_t size);
  // Whether Buffer(size) would reuse a buffer kept: then reading into it costs less than
  // mapping the file beside it.
  static bool SpareHolds(std::size_t size);
  // The `size` bytes mapped at `address`, unmapped when the image goes.
  static FileImage Mapping(void* address, std::size_t size);

  FileImage(FileImage&& other) noexcept;
  FileImage& operator=(FileImage&& other) noexcept;
  ~FileImage();

  std::span<std::uint8_t> bytes() const { return {data_, size_}; }

  // Moves a mapping's bytes into a buffer of the image's own (a buffer stays as it is), for a
  // reader about to change most of them: one copy of every page then costs less than a fault, a
  // new page and a copy for each page written. The mapping goes piece by piece as it is copied,
  // so that the two are never both whole in memory. bytes() moves.
  void MakeOwn();

 private:
  void Release();

  std::unique_ptr<std::uint8_t[]> buffer_;  // a buffer's bytes; none for a mapping
  std::size_t buffer_size_ = 0;             // at least size_
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace quellor
