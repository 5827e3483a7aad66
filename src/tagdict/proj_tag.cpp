#include "tagdict/proj_tag.h"

#include <string_view>

#include "base/ascii.h"
#include "platform/automation/conversions.h"

namespace quellor {

namespace {

constexpr std::size_t kColumns = 12;
constexpr std::size_t kRecordTypeColumn = 4;

// The kind a trimmed RecordType names (exact, case-sensitive), or -1 for an unknown text.
std::int32_t KindOf(std::string_view record_type) {
  if (record_type.empty()) return kKindNone;
  if (record_type == "BlkTag") return kKindBlkTag;
  if (record_type == "FldTag") return kKindFldTag;
  if (record_type == "FixFldTag") return kKindFixFldTag;
  if (record_type == "TagFixFld") return kKindTagFixFld;
  return -1;
}

void SetText(const VARIANT& value, bool trim, std::string& field) {
  // Text, as nearly every value is, is copied once, straight from the row.
  if (value.vt == VT_BSTR) {
    const std::string_view text = VariantTextView(value);
    field.assign(trim ? TrimAscii(text) : text);
    return;
  }
  auto text = VariantToText(value);
  if (!text.ok()) return;
  field = trim ? std::string(TrimAscii(*text)) : std::move(*text);
}

void SetInt16(const VARIANT& value, std::int16_t& field) {
  if (const auto number = VariantToInt16(value); number.ok()) field = *number;
}

void SetDouble(const VARIANT& value, double& field) {
  if (const auto number = VariantToDouble(value); number.ok()) field = *number;
}

}  // namespace

bool ParseProjTag(const ProjectRow& row, ProjTag_T& tag) {
  if (!row.has_columns()) return false;
  tag = ProjTag_T{};
  for (std::size_t column = 0; column < kColumns; ++column) {
    const VARIANT* value = row.Column(column);
    if (value == nullptr) return false;
    if (value->vt == VT_EMPTY || value->vt == VT_NULL) continue;
    switch (column) {
      case 0:
        SetText(*value, true, tag.TagName);
        break;
      case 1:
        SetText(*value, true, tag.FieldName);
        break;
      case 2:
        SetText(*value, true, tag.SubfieldName);
        break;
      case 3:
        SetText(*value, true, tag.FixFldName);
        break;
      case kRecordTypeColumn: {
        std::string record_type;
        SetText(*value, true, record_type);
        const std::int32_t kind = KindOf(record_type);
        if (kind < 0) return false;
        tag.kind = kind;
        break;
      }
      case 5:
        SetInt16(*value, tag.FldRenderedType);
        break;
      case 6:
        SetInt16(*value, tag.FixFldRenderedType);
        break;
      case 7:
        SetText(*value, false, tag.FullDesc);
        break;
      case 8:
        SetText(*value, false, tag.Units);
        break;
      case 9:
        SetDouble(*value, tag.HiRange);
        break;
      case 10:
        SetDouble(*value, tag.LoRange);
        break;
      default:
        SetInt16(*value, tag.Logged);
        break;
    }
  }
  return true;
}

}  // namespace quellor
