#include "tagdict/tag_record.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "base/le_codec.h"

namespace quellor {

namespace tl = tag_layout;

TagHdr_T TagHdr_T::Decode(std::span<const std::uint8_t> bytes) {
  assert(bytes.size() >= tl::kHeaderSize);
  const std::uint8_t* p = bytes.data();
  TagHdr_T header;
  header.magic = LoadLe32(p + tl::kHdrMagic);
  header.version = LoadLeI32(p + tl::kHdrVersion);
  header.save_count = LoadLeI32(p + tl::kHdrSaveCount);
  header.record_count = LoadLeI32(p + tl::kHdrRecordCount);
  header.free_head = LoadLeI32(p + tl::kHdrFreeHead);
  header.used_count = LoadLeI32(p + tl::kHdrUsedCount);
  std::copy_n(p + tl::kHdrReserved, header.reserved.size(), header.reserved.begin());
  return header;
}

std::array<std::uint8_t, tl::kHeaderSize> TagHdr_T::Encode() const {
  std::array<std::uint8_t, tl::kHeaderSize> bytes{};
  std::uint8_t* p = bytes.data();
  StoreLe32(p + tl::kHdrMagic, magic);
  StoreLeI32(p + tl::kHdrVersion, version);
  StoreLeI32(p + tl::kHdrSaveCount, save_count);
  StoreLeI32(p + tl::kHdrRecordCount, record_count);
  StoreLeI32(p + tl::kHdrFreeHead, free_head);
  StoreLeI32(p + tl::kHdrUsedCount, used_count);
  std::copy(reserved.begin(), reserved.end(), p + tl::kHdrReserved);
  return bytes;
}

TagRec_T::TagRec_T(std::span<const std::uint8_t, tl::kRecordSize> bytes) {
  std::copy(bytes.begin(), bytes.end(), bytes_.begin());
}

void TagRec_T::SetText(std::size_t offset, std::size_t width, std::string_view text) {
  assert(offset + width <= bytes_.size() && width > 0);
  std::uint8_t* field = bytes_.data() + offset;
  std::fill_n(field, width, std::uint8_t{0});
  std::memcpy(field, text.data(), std::min(text.size(), width - 1));
}

float TagRec_T::F32(std::size_t offset) const {
  assert(offset + 4 <= bytes_.size());
  return LoadLeF32(bytes_.data() + offset);
}

void TagRec_T::SetF32(std::size_t offset, float value) {
  assert(offset + 4 <= bytes_.size());
  StoreLeF32(bytes_.data() + offset, value);
}

bool TagRec_T::ListsMember(std::int32_t member) const {
  const std::uint32_t count = MemberCount();
  for (std::uint32_t i = 0; i < count; ++i) {
    if (Member(i) == member) return true;
  }
  return false;
}

std::int32_t TagRec_T::AccessName() const {
  const std::size_t offset = tl::AccessNameOffset(Type());
  return offset == 0 ? 0 : I32(offset);
}

std::string_view TagRec_T::ItemName() const {
  const std::size_t offset = tl::ItemOffset(Type());
  return offset == 0 ? std::string_view() : Text(offset, tl::kItemWidth);
}

void InitTagRecord(TagRec_T& dest, std::int32_t parent, const TagRec_T* stored,
                   std::int32_t default_alarm_group) {
  if (stored != nullptr) {
    dest = *stored;
    if (dest.AlarmGroup() == 0) dest.SetI32(tl::kAlarmGroup, default_alarm_group);
  } else {
    dest.Clear();
    dest.SetI32(tl::kWord292, 2);
    dest.SetU32(tl::kFlags304, 1);
    dest.SetI32(tl::kAlarmGroup, default_alarm_group);
    dest.SetI32(tl::kWord308, 1);
    dest.SetI32(tl::kWord724, 999);
  }
  dest.SetI32(tl::kParent, parent);
  if (parent != 0) dest.SetU32(tl::kMemberMark, tl::kMemberMarkValue);
}

}  // namespace quellor
