// Writes a file's content front to back through a buffer of bounded size, so that a large
// output never lies whole in memory: bytes appended gather in the buffer, which goes to the
// file in one write whenever it is full.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/status.h"
#include "platform/file_system.h"

namespace quellor {

class FileAppender final {
 public:
  static constexpr std::size_t kDefaultCapacity = 256 * 1024;

  // Writes into `file` (which must outlive the appender) from offset 0 on.
  explicit FileAppender(File& file, std::size_t capacity = kDefaultCapacity);
  FileAppender(const FileAppender&) = delete;
  FileAppender& operator=(const FileAppender&) = delete;

  // Adds bytes after those appended before. After a failed write nothing more is written:
  // status() says why.
  void Append(std::span<const std::uint8_t> bytes);
  // Writes what the buffer still holds; the first failure of any write, or OK.
  Status Finish();

  const Status& status() const { return status_; }

 private:
  void WriteBuffer();

  File& file_;
  const std::size_t capacity_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t offset_ = 0;  // where the buffer's first byte goes
  Status status_;
};

}  // namespace quellor
