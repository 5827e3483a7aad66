#include "platform/automation/conversions.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "base/ascii.h"
#include "base/format.h"

namespace quellor {
namespace {

Status CannotConvert(const VARIANT& value, std::string_view to) {
  return Status::InvalidArgument(StringPrintf("a variant of type %u cannot be converted to %.*s",
                                              unsigned{value.vt}, static_cast<int>(to.size()),
                                              to.data()));
}

// The whole text, blanks around it allowed, as a number written with a point.
Result<double> ParseNumber(std::string_view text) {
  const std::string_view trimmed = TrimAscii(text);
  double number = 0;
  const char* const end = trimmed.data() + trimmed.size();
  const auto [stop, error] = std::from_chars(trimmed.data(), end, number);
  if (trimmed.empty() || error != std::errc() || stop != end) {
    return Status::InvalidArgument("the text is not a number");
  }
  return number;
}

Result<std::int16_t> RoundToInt16(double number) {
  const double rounded = std::nearbyint(number);  // the default mode rounds half to even
  if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) {
    return Status::InvalidArgument("the number does not fit 16 bits");
  }
  return static_cast<std::int16_t>(rounded);
}

}  // namespace

std::string_view VariantTextView(const VARIANT& value) {
  if (value.vt != VT_BSTR || value.bstrVal == nullptr) return {};
  return std::string_view(value.bstrVal, strnlen(value.bstrVal, SysStringByteLen(value.bstrVal)));
}

Result<std::string> VariantToText(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
      return std::string();
    case VT_I2:
      return StringPrintf("%d", int{value.iVal});
    case VT_I4:
      return StringPrintf("%d", int{value.lVal});
    case VT_R8:
      return StringPrintf("%.15g", value.dblVal);
    case VT_BOOL:
      return std::string(value.boolVal != 0 ? "-1" : "0");
    case VT_BSTR:
      return std::string(VariantTextView(value));
    default:
      return CannotConvert(value, "text");
  }
}

Result<std::int16_t> VariantToInt16(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
      return std::int16_t{0};
    case VT_I2:
      return value.iVal;
    case VT_I4:
      return RoundToInt16(value.lVal);
    case VT_R8:
      return RoundToInt16(value.dblVal);
    case VT_BOOL:
      return static_cast<std::int16_t>(value.boolVal != 0 ? -1 : 0);
    case VT_BSTR: {
      const Result<double> number = ParseNumber(VariantTextView(value));
      if (!number.ok()) return number.status();
      return RoundToInt16(*number);
    }
    default:
      return CannotConvert(value, "a 16-bit integer");
  }
}

Result<double> VariantToDouble(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
      return 0.0;
    case VT_I2:
      return static_cast<double>(value.iVal);
    case VT_I4:
      return static_cast<double>(value.lVal);
    case VT_R8:
      return value.dblVal;
    case VT_BOOL:
      return value.boolVal != 0 ? -1.0 : 0.0;
    case VT_BSTR:
      return ParseNumber(VariantTextView(value));
    default:
      return CannotConvert(value, "a double");
  }
}

}  // namespace quellor
