// TagRecords: the records of an open dictionary in memory, record n at [n - 1]. Those that
// Tagname.X held when it was read come first, as an image of the file (file_image.h): a full
// dictionary's 60 MB are neither copied nor given memory of their own until a record changes,
// or until the load is about to change most of them.
// Those appended afterwards follow, in room made for them beforehand, so that no record moves
// while they grow. Changing a record in memory never changes the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/status.h"
#include "platform/file_system.h"
#include "tagdict/tag_record.h"

namespace quellor {

class TagRecords final {
 public:
  // The `count` records after the header's unit of `file`, with room for `room` records in
  // all. On failure there is no record.
  Status Read(File& file, std::size_t count, std::size_t room);
  // No record, with room for `room`.
  void Reset(std::size_t room);

  std::size_t size() const { return read_.size() + appended_.size(); }
  std::size_t capacity() const { return read_.size() + appended_.capacity(); }
  TagRec_T& operator[](std::size_t i) {
    return i < read_.size() ? read_[i] : appended_[i - read_.size()];
  }
  const TagRec_T& operator[](std::size_t i) const {
    return i < read_.size() ? read_[i] : appended_[i - read_.size()];
  }
  // Gives the records read memory of their own (FileImage::MakeOwn), for a caller about to
  // change most of them. References to records read go stale.
  void OwnRecordsRead();
  // Appends a record of zeros.
  void Append() { appended_.emplace_back(); }

  // The end of the records from `first` on that lie together in memory: those read, or those
  // appended.
  std::size_t RunEnd(std::size_t first) const {
    return first < read_.size() ? read_.size() : size();
  }
  // The bytes of records [first, first + count), which lie together (first + count <=
  // RunEnd(first)).
  std::span<const std::uint8_t> Bytes(std::size_t first, std::size_t count) const;

 private:
  FileImage image_;           // the header's unit, then the records read
  std::span<TagRec_T> read_;  // in image_
  std::vector<TagRec_T> appended_;
};

}  // namespace quellor
