// The tag index: every tag name of the dictionary (exact, case-sensitive) with its record
// number, the parent that lists it and two marks. Built by the load, extended by allocation,
// read by the statistics; it lives as long as the dictionary and is written nowhere.
#pragma once

#include <cstdint>
#include <functional>

#include "base/name_index.h"
#include "base/string_hash.h"

namespace quellor {

struct TagIdxData_T {
  std::int32_t RecNo = 0;
  // The record that lists the tag as a member; 0 for none, or for a tag allocated in this
  // build, the parent it was allocated under.
  std::int32_t ParentRecNo = 0;
  // 1 when the stored tag's access name is one of the application's access names.
  std::int32_t PelnetAccess = 0;
  // 1 once this build has stored or compared the tag.
  std::int32_t Processed = 0;

  friend bool operator==(const TagIdxData_T&, const TagIdxData_T&) = default;
};

using TagIndex = NameIndex<TagIdxData_T, StringHash, std::equal_to<>>;

}  // namespace quellor
