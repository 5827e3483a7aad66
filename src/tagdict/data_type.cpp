#include "tagdict/data_type.h"

#include "tagdict/tag_layout.h"

namespace quellor {

namespace tl = tag_layout;

std::uint16_t MapDataType(std::int16_t code, bool discrete_as_integer) {
  switch (code) {
    case 1:
      return discrete_as_integer ? tl::kTypeInteger : tl::kTypeDiscrete;
    case 7:
      return tl::kTypeInteger;
    case 8:
      return tl::kTypeReal;
    case 10:
      return tl::kTypeMessage;
    default:
      return 0;
  }
}

std::uint16_t TagTypeOf(const ProjTag_T& row, int level, bool discrete_as_integer) {
  std::int16_t code = 0;
  if (row.kind == kKindBlkTag || row.kind == kKindTagFixFld) {
    if (level == kLevelTopLevel) return 0;
    code = level == kLevelFixField ? row.FixFldRenderedType : row.FldRenderedType;
  } else {
    const bool names_field = !row.FieldName.empty() || !row.SubfieldName.empty();
    code = names_field ? row.FldRenderedType : row.FixFldRenderedType;
  }
  return MapDataType(code, discrete_as_integer);
}

}  // namespace quellor
