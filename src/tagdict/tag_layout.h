// The byte layout of the tag dictionary: Tagname.X (a 40-byte header in a 1024-byte unit 0,
// then 1024-byte tag records), its companion Tag_Ext.X (512-byte records in parallel) and the
// name index Tagnames.NDX. docs/formats/Tagname.X.md describes every field; the offsets here
// are the ones that page gives.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quellor::tag_layout {

// Files, relative to the application folder.
inline constexpr const char* kTagFileName = "\\Tagname.X";
inline constexpr const char* kCompanionFileName = "\\Tag_Ext.X";
inline constexpr const char* kNameIndexFileName = "\\Tagnames.NDX";

inline constexpr std::size_t kRecordSize = 1024;
inline constexpr std::size_t kCompanionRecordSize = 512;
inline constexpr std::int32_t kMaxRecords = 60000;

// TagHdr_T, at offset 0 of Tagname.X.
inline constexpr std::size_t kHeaderSize = 40;
inline constexpr std::size_t kHdrMagic = 0;
inline constexpr std::size_t kHdrVersion = 4;
inline constexpr std::size_t kHdrSaveCount = 8;
inline constexpr std::size_t kHdrRecordCount = 12;
inline constexpr std::size_t kHdrFreeHead = 16;
inline constexpr std::size_t kHdrUsedCount = 20;
inline constexpr std::size_t kHdrReserved = 24;  // 16 bytes, kept as read
inline constexpr std::uint32_t kMagic = 0xABCD1234;
// The lowest version read; an older file is an old-format dictionary.
inline constexpr std::int32_t kLowestVersion = 9;

// TagRec_T. Text fields are NUL-terminated inside their width.
inline constexpr std::size_t kName = 0;
inline constexpr std::size_t kNameWidth = 129;
inline constexpr std::size_t kDescription = 129;
inline constexpr std::size_t kDescriptionWidth = 161;
inline constexpr std::size_t kType = 290;  // uint16
inline constexpr std::size_t kWord292 = 292;
inline constexpr std::size_t kAlarmGroup = 296;
inline constexpr std::size_t kNextFree = 300;
inline constexpr std::size_t kFlags304 = 304;
inline constexpr std::size_t kWord308 = 308;
inline constexpr std::size_t kDefaults320 = 320;  // three words of 0x00010001
inline constexpr std::size_t kWord332 = 332;      // uint16
inline constexpr std::size_t kWord340 = 340;      // uint16
inline constexpr std::size_t kUnits = 342;
inline constexpr std::size_t kUnitsWidth = 33;
inline constexpr std::size_t kDiscreteAccess = 352;
inline constexpr std::size_t kDiscreteItem = 356;
inline constexpr std::size_t kInitialValue = 376;
inline constexpr std::size_t kEngMin = 380;
inline constexpr std::size_t kEngMax = 384;
inline constexpr std::size_t kAnalogAccess = 412;
inline constexpr std::size_t kAnalogItem = 416;
inline constexpr std::size_t kMessageAccess = 452;
inline constexpr std::size_t kMessageItem = 456;
inline constexpr std::size_t kItemWidth = 253;
inline constexpr std::size_t kRawMin = 672;
inline constexpr std::size_t kRawMax = 676;
inline constexpr std::size_t kWord680 = 680;
inline constexpr std::size_t kFlags712 = 712;
inline constexpr std::size_t kLogDeadband = 716;
inline constexpr std::size_t kWord724 = 724;
inline constexpr std::size_t kMemberMark = 744;
inline constexpr std::size_t kParent = 748;
inline constexpr std::size_t kMemberCount = 760;
inline constexpr std::size_t kMembers = 764;
inline constexpr std::uint32_t kMemberMarkValue = 0xABCD1235;
// 64 members in normal use; a 65th (a value member linked without the limit) sits at 1020,
// the last word of the record. Nothing beyond it is a member slot.
inline constexpr std::uint32_t kMemberSlots = 65;
// The members a parent lists in normal use; only a value member may take the 65th slot.
inline constexpr std::uint32_t kMaxMembers = 64;
// Tag names hold at most this many characters: the name field less its terminator.
inline constexpr std::size_t kMaxTagName = kNameWidth - 1;

static_assert(kName + kNameWidth == kDescription);
static_assert(kDescription + kDescriptionWidth == kType);
static_assert(kMembers + 4 * kMemberSlots == kRecordSize);
static_assert(kHeaderSize <= kRecordSize);

// Tag type codes.
inline constexpr std::uint16_t kTypeDiscrete = 202;
inline constexpr std::uint16_t kTypeInteger = 204;
inline constexpr std::uint16_t kTypeReal = 206;
inline constexpr std::uint16_t kTypeMessage = 208;
inline constexpr std::uint16_t kTypeGroup = 213;
inline constexpr std::uint16_t kTypeAlarmGroup = 217;

inline constexpr bool IsIoType(std::uint16_t type) {
  return type == kTypeDiscrete || type == kTypeInteger || type == kTypeReal || type == kTypeMessage;
}

// Where a tag of an I/O type keeps the DDE Source ID of its access name and its item
// (kItemWidth bytes); both 0 for other types.
struct IoFieldOffsets {
  std::size_t access_name = 0;
  std::size_t item = 0;
};
inline constexpr IoFieldOffsets IoFieldsOf(std::uint16_t type) {
  switch (type) {
    case kTypeDiscrete:
      return {kDiscreteAccess, kDiscreteItem};
    case kTypeInteger:
    case kTypeReal:
      return {kAnalogAccess, kAnalogItem};
    case kTypeMessage:
      return {kMessageAccess, kMessageItem};
    default:
      return {};
  }
}
inline constexpr std::size_t AccessNameOffset(std::uint16_t type) {
  return IoFieldsOf(type).access_name;
}
inline constexpr std::size_t ItemOffset(std::uint16_t type) { return IoFieldsOf(type).item; }

// Byte positions of record n in each file.
inline constexpr std::uint64_t RecordOffset(std::int32_t n) {
  return static_cast<std::uint64_t>(n) * kRecordSize;
}
inline constexpr std::uint64_t CompanionOffset(std::int32_t n) {
  return static_cast<std::uint64_t>(n) * kCompanionRecordSize;
}

}  // namespace quellor::tag_layout
