#include "dictionary_files.h"

#include <cassert>

#include "base/le_codec.h"
#include "testing/temp_dir.h"

namespace quellor::testing {

namespace tl = tag_layout;

TagRec_T MakeRecord(const TestTag& tag) {
  TagRec_T record;
  record.SetText(tl::kName, tl::kNameWidth, tag.name);
  record.SetU16(tl::kType, tag.type);
  record.SetI32(tl::kAlarmGroup, tag.alarm_group);
  record.SetI32(tl::kNextFree, tag.next_free);
  if (const std::size_t offset = tl::AccessNameOffset(tag.type); offset != 0) {
    record.SetI32(offset, tag.access_name);
  }
  record.SetU32(tl::kMemberCount, static_cast<std::uint32_t>(tag.members.size()));
  for (std::size_t i = 0; i < tag.members.size(); ++i) {
    record.SetI32(tl::kMembers + 4 * i, tag.members[i]);
  }
  return record;
}

std::string HeaderBytes(std::int32_t version) {
  std::string header(tl::kHeaderSize, '\0');
  auto* p = reinterpret_cast<std::uint8_t*>(header.data());
  StoreLe32(p + tl::kHdrMagic, tl::kMagic);
  StoreLeI32(p + tl::kHdrVersion, version);
  for (std::size_t i = tl::kHdrReserved; i < tl::kHeaderSize; ++i) header[i] = static_cast<char>(i);
  return header;
}

void WriteDictionary(const std::filesystem::path& folder,
                     const std::vector<std::optional<TestTag>>& records, std::int32_t version) {
  std::string tag_file = HeaderBytes(version);
  tag_file.resize(tl::kRecordSize, '\0');
  std::string companion(tl::kCompanionRecordSize * (records.size() + 1), kCompanionMarker);
  for (const auto& tag : records) {
    const TagRec_T record = tag ? MakeRecord(*tag) : TagRec_T();
    tag_file.append(reinterpret_cast<const char*>(record.bytes().data()), tl::kRecordSize);
  }
  WriteFile(folder / "Tagname.X", tag_file);
  WriteFile(folder / "Tag_Ext.X", companion);
}

TagRec_T RecordOf(const std::string& tag_file, std::int32_t n) {
  const std::size_t offset = static_cast<std::size_t>(tl::RecordOffset(n));
  assert(offset + tl::kRecordSize <= tag_file.size());
  return TagRec_T(std::span<const std::uint8_t, tl::kRecordSize>(
      reinterpret_cast<const std::uint8_t*>(tag_file.data()) + offset, tl::kRecordSize));
}

std::string CompanionOf(const std::string& companion_file, std::int32_t n) {
  return companion_file.substr(static_cast<std::size_t>(tl::CompanionOffset(n)),
                               tl::kCompanionRecordSize);
}

void WriteShellDictionary(const std::filesystem::path& folder) {
  std::string tag_file = HeaderBytes(9);
  tag_file.replace(tl::kHdrReserved, 16, 16, '\0');
  const TagRec_T groups[] = {
      MakeRecord({.name = "$System", .type = tl::kTypeAlarmGroup, .alarm_group = 1}),
      MakeRecord({.name = "Plant", .type = tl::kTypeAlarmGroup, .alarm_group = 1})};
  auto* p = reinterpret_cast<std::uint8_t*>(tag_file.data());
  StoreLeI32(p + tl::kHdrRecordCount, 2);
  StoreLeI32(p + tl::kHdrUsedCount, 2);
  tag_file.resize(tl::kRecordSize, '\0');
  for (TagRec_T record : groups) {
    record.SetI32(tl::kWord292, 2);
    record.SetU32(tl::kFlags304, 1);
    record.SetI32(tl::kWord308, 1);
    record.SetI32(tl::kWord724, 999);
    tag_file.append(reinterpret_cast<const char*>(record.bytes().data()), tl::kRecordSize);
  }
  WriteFile(folder / "Tagname.X", tag_file);
  WriteFile(folder / "Tag_Ext.X", std::string(3 * tl::kCompanionRecordSize, '\0'));
}

TagIdxData_T IndexEntryOf(const CTagDict& dict, std::string_view name) {
  const TagIdxData_T* entry = dict.tag_index() != nullptr ? dict.tag_index()->Find(name) : nullptr;
  return entry != nullptr ? *entry : TagIdxData_T{-1, -1, -1, -1};
}

}  // namespace quellor::testing
