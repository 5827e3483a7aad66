// Tag dictionaries built byte by byte for the tests: Tagname.X with a header and records as
// described, and a Tag_Ext.X whose records are filled with a marker byte, so that a test sees
// which companion records were cleared.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tagdict/tag_dict.h"
#include "tagdict/tag_record.h"

namespace quellor::testing {

// Every companion record starts out filled with this byte.
inline constexpr char kCompanionMarker = '\xEE';

struct TestTag {
  std::string name = {};
  std::uint16_t type = 0;
  std::vector<std::int32_t> members = {};
  std::int32_t alarm_group = 0;
  std::int32_t access_name = 0;  // stored where the type keeps it
  std::int32_t next_free = 0;
};

TagRec_T MakeRecord(const TestTag& tag);

// The header of a dictionary: magic, `version`, zeros, and bytes 24 to 39 set to 24..39.
std::string HeaderBytes(std::int32_t version);

// Tagname.X: the header unit, then one record per entry (nullopt: a free record, all zero);
// Tag_Ext.X: one marker-filled companion record per unit.
void WriteDictionary(const std::filesystem::path& folder,
                     const std::vector<std::optional<TestTag>>& records, std::int32_t version = 9);

// Record n of a Tagname.X content, and companion record n of a Tag_Ext.X content.
TagRec_T RecordOf(const std::string& tag_file, std::int32_t n);
std::string CompanionOf(const std::string& companion_file, std::int32_t n);

// The tag index entry of `name` in an open dictionary; {-1, -1, -1, -1} when it has none.
TagIdxData_T IndexEntryOf(const CTagDict& dict, std::string_view name);

// The shell application's dictionary: the "$System" alarm group and the "Plant" alarm group.
void WriteShellDictionary(const std::filesystem::path& folder);

}  // namespace quellor::testing
