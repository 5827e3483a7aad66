#include "platform/file_appender.h"

#include <algorithm>

namespace quellor {

FileAppender::FileAppender(File& file, std::size_t capacity)
    : file_(file), capacity_(std::max<std::size_t>(capacity, 1)) {
  buffer_.reserve(capacity_);
}

void FileAppender::Append(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty() && status_.ok()) {
    const std::size_t taken = std::min(bytes.size(), capacity_ - buffer_.size());
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.begin() + taken);
    bytes = bytes.subspan(taken);
    if (buffer_.size() == capacity_) WriteBuffer();
  }
}

Status FileAppender::Finish() {
  if (!buffer_.empty()) WriteBuffer();
  return status_;
}

void FileAppender::WriteBuffer() {
  if (!status_.ok()) return;
  status_ = file_.WriteAt(offset_, buffer_);
  offset_ += buffer_.size();
  buffer_.clear();
}

}  // namespace quellor
