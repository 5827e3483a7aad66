// The I/O fields of a merged tag: its access name and item, and for integer and real tags the
// range, units, initial value and log deadband, by the number rules of base/numbers.h
// (truncation toward zero, float32 fields computed in float32, no undefined behaviour at any
// edge).
#include <algorithm>

#include "base/format.h"
#include "base/numbers.h"
#include "report/report.h"
#include "tagdict/project_tags.h"
#include "tagdict/tag_dict.h"
#include "tagdict/tag_merge.h"

namespace quellor {

namespace tl = tag_layout;

namespace {

// The defaults a new integer or real I/O tag gets at 320 to 340.
void SetAnalogDefaults(TagRec_T& tag) {
  for (std::size_t i = 0; i < 3; ++i) tag.SetU32(tl::kDefaults320 + 4 * i, 0x00010001u);
  tag.SetU16(tl::kWord332, 1);
  tag.SetU16(tl::kWord340, 261);
}

void SetIntegerRange(TagRec_T& tag, const ProjTag_T& row, bool is_new, bool logged, float fraction,
                     float absolute) {
  const std::int32_t lo = DoubleToInt32(row.LoRange);
  const std::int32_t hi = DoubleToInt32(row.HiRange);
  tag.SetI32(tl::kRawMin, lo);
  tag.SetI32(tl::kRawMax, hi);
  tag.SetI32(tl::kEngMin, lo);
  tag.SetI32(tl::kEngMax, hi);
  const std::int32_t initial = tag.I32(tl::kInitialValue);
  if (is_new || initial < lo || initial > hi) tag.SetI32(tl::kInitialValue, lo);
  if (is_new && logged) {
    const std::int32_t of_range = DoubleToInt32(FractionOfRange(fraction, hi, lo));
    tag.SetI32(tl::kLogDeadband, std::min(of_range, DoubleToInt32(absolute)));
  }
}

void SetRealRange(TagRec_T& tag, const ProjTag_T& row, bool is_new, bool logged, float fraction,
                  float absolute) {
  // Beyond the float32 range a bound becomes an infinity, as the x86 conversion gives.
  const float lo = static_cast<float>(row.LoRange);
  const float hi = static_cast<float>(row.HiRange);
  tag.SetF32(tl::kRawMin, lo);
  tag.SetF32(tl::kRawMax, hi);
  tag.SetF32(tl::kEngMin, lo);
  tag.SetF32(tl::kEngMax, hi);
  tag.SetI32(tl::kWord680, 201);
  const float initial = tag.F32(tl::kInitialValue);
  if (is_new || initial < lo || initial > hi) tag.SetF32(tl::kInitialValue, lo);
  if (is_new && logged) {
    float deadband = FractionOfRange(fraction, hi, lo);
    if (absolute < deadband) deadband = absolute;
    tag.SetF32(tl::kLogDeadband, deadband);
  }
}

}  // namespace

void TagMerge::SetIoFields(TagRec_T& tag, const ProjTag_T& row, bool is_new,
                           std::string_view item_text) const {
  const bool logged = (row.Logged & 1) != 0;
  tag.SetU32(tl::kFlags712, (tag.U32(tl::kFlags712) & ~1u) | (logged ? 1u : 0u));
  const std::uint16_t type = tag.Type();
  if (tl::IsIoType(type)) {
    tag.SetI32(tl::AccessNameOffset(type), project_.CurrentAccessNameID());
    tag.SetText(tl::ItemOffset(type), tl::kItemWidth, item_text);
  }
  switch (type) {
    case tl::kTypeDiscrete:
    case tl::kTypeMessage:
    case tl::kTypeGroup:
      break;
    case tl::kTypeInteger:
    case tl::kTypeReal:
      if (is_new) SetAnalogDefaults(tag);
      if (type == tl::kTypeInteger) {
        SetIntegerRange(tag, row, is_new, logged, dict_.DeadbandFraction(),
                        dict_.DeadbandAbsolute());
      } else {
        SetRealRange(tag, row, is_new, logged, dict_.DeadbandFraction(), dict_.DeadbandAbsolute());
      }
      // Units longer than the field are cut to its 32 characters.
      tag.SetText(tl::kUnits, tl::kUnitsWidth, row.Units);
      break;
    default:
      Report(StringPrintf("TagnameX - Failed to determine data type of %s",
                          std::string(tag.Name()).c_str()),
             2, 1);
      break;
  }
}

}  // namespace quellor
