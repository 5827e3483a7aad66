// How a project's data-type codes become tag types, and which code column a tag takes its
// type from.
#pragma once

#include <cstdint>

#include "tagdict/proj_tag.h"

namespace quellor {

// The member level of a tag made from a row: what part of the row's path names it.
enum MemberLevel : int {
  kLevelTopLevel = 1,  // the project tag (TagName)
  kLevelField = 2,     // a field member (FieldName)
  kLevelSubfield = 3,  // a subfield member (SubfieldName)
  kLevelFixField = 4,  // a fixed-field member (FixFldName)
};

// 1: integer (204) when `discrete_as_integer`, else discrete (202); 7: integer (204); 8: real
// (206); 10: message (208); any other code: 0, the type is not determined.
std::uint16_t MapDataType(std::int16_t code, bool discrete_as_integer);

// The tag type of the tag at `level` made from `row`. BlkTag and TagFixFld rows give their
// top-level tag no type, their field and subfield members the field's code and their
// fixed-field members the fixed field's code; other rows take the field's code when the row
// names a field or subfield, else the fixed field's.
std::uint16_t TagTypeOf(const ProjTag_T& row, int level, bool discrete_as_integer);

}  // namespace quellor
