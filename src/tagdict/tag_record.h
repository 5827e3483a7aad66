// TagHdr_T and TagRec_T: the header and one record of Tagname.X, held as their bytes and read
// or written field by field at the offsets of tag_layout.h. Bytes no accessor names are kept
// exactly as read.
#pragma once

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "base/le_codec.h"
#include "tagdict/tag_layout.h"

namespace quellor {

struct TagHdr_T final {
  std::uint32_t magic = tag_layout::kMagic;
  std::int32_t version = tag_layout::kLowestVersion;
  std::int32_t save_count = 0;
  std::int32_t record_count = 0;
  std::int32_t free_head = 0;
  std::int32_t used_count = 0;
  std::array<std::uint8_t, 16> reserved{};  // bytes 24 to 39, never interpreted

  // Requires bytes.size() >= kHeaderSize.
  static TagHdr_T Decode(std::span<const std::uint8_t> bytes);
  std::array<std::uint8_t, tag_layout::kHeaderSize> Encode() const;
};

class TagRec_T final {
 public:
  using Bytes = std::array<std::uint8_t, tag_layout::kRecordSize>;

  TagRec_T() : bytes_{} {}
  explicit TagRec_T(std::span<const std::uint8_t, tag_layout::kRecordSize> bytes);

  const Bytes& bytes() const { return bytes_; }
  Bytes& bytes() { return bytes_; }

  // A record whose first byte is 0 holds no tag.
  bool IsFree() const { return bytes_[0] == 0; }
  // The name up to its terminator (at most 128 bytes).
  std::string_view Name() const { return Text(tag_layout::kName, tag_layout::kNameWidth); }

  // A text field of `width` bytes at `offset`, up to its terminator (the last byte of the
  // width counts as one, whatever it holds). Inline: every pass over the records reads names.
  std::string_view Text(std::size_t offset, std::size_t width) const {
    assert(offset + width <= bytes_.size() && width > 0);
    const char* start = reinterpret_cast<const char*>(bytes_.data() + offset);
    const void* end = std::memchr(start, 0, width - 1);
    return {start, end == nullptr
                       ? width - 1
                       : static_cast<std::size_t>(static_cast<const char*>(end) - start)};
  }
  // Writes `text` cut to width - 1 bytes and zero-fills the rest of the field, so that no byte
  // of an older, longer text survives behind the terminator.
  void SetText(std::size_t offset, std::size_t width, std::string_view text);

  // The integer fields, inline: the merge and the load passes read and write a few of them
  // in every record.
  std::uint16_t U16(std::size_t offset) const {
    assert(offset + 2 <= bytes_.size());
    return LoadLe16(bytes_.data() + offset);
  }
  std::uint32_t U32(std::size_t offset) const {
    assert(offset + 4 <= bytes_.size());
    return LoadLe32(bytes_.data() + offset);
  }
  std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
  float F32(std::size_t offset) const;
  void SetU16(std::size_t offset, std::uint16_t value) {
    assert(offset + 2 <= bytes_.size());
    StoreLe16(bytes_.data() + offset, value);
  }
  void SetU32(std::size_t offset, std::uint32_t value) {
    assert(offset + 4 <= bytes_.size());
    StoreLe32(bytes_.data() + offset, value);
  }
  void SetI32(std::size_t offset, std::int32_t value) {
    SetU32(offset, static_cast<std::uint32_t>(value));
  }
  void SetF32(std::size_t offset, float value);

  std::uint16_t Type() const { return U16(tag_layout::kType); }
  std::int32_t AlarmGroup() const { return I32(tag_layout::kAlarmGroup); }
  std::int32_t NextFree() const { return I32(tag_layout::kNextFree); }
  std::int32_t Parent() const { return I32(tag_layout::kParent); }
  // The stored member count, taken as at most kMemberSlots: the member slots end with the
  // record, and nothing beyond it is ever read.
  std::uint32_t MemberCount() const {
    return std::min(U32(tag_layout::kMemberCount), tag_layout::kMemberSlots);
  }
  // Member slot `i`; requires i < kMemberSlots.
  std::int32_t Member(std::uint32_t i) const {
    assert(i < tag_layout::kMemberSlots);
    return I32(tag_layout::kMembers + 4 * std::size_t{i});
  }
  // Whether one of the first MemberCount() slots holds `member`.
  bool ListsMember(std::int32_t member) const;

  // The stored access name's DDE Source ID for an I/O type, else 0.
  std::int32_t AccessName() const;
  // The stored item for an I/O type, else empty.
  std::string_view ItemName() const;

  void Clear() { bytes_.fill(0); }

 private:
  Bytes bytes_;
};

// Prepares `dest` as the merge stores a tag: a copy of `stored` when given (an alarm group of
// 0 takes `default_alarm_group`), else a fresh record (word 292 = 2, flags bit 0, word 308 = 1,
// word 724 = 999, the default alarm group). The parent is always set; a non-zero parent also
// sets the member mark.
void InitTagRecord(TagRec_T& dest, std::int32_t parent, const TagRec_T* stored,
                   std::int32_t default_alarm_group);

}  // namespace quellor
