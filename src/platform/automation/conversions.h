// Conversions of a variant for the code that reads project values: to text, to a 16-bit
// integer and to a double, in the forms the readers expect of the component runtime. A
// conversion that fails says so; the reader decides what a failure counts as.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "platform/automation/variant.h"

namespace quellor {

// The narrow text of a VT_BSTR variant up to its first NUL; empty for any other type.
std::string_view VariantTextView(const VARIANT& value);

// Integers in decimal; doubles with up to 15 significant digits and no trailing zeros (100.0
// is "100", 12.5 is "12.5"); booleans "-1" and "0"; texts up to their first NUL; VT_EMPTY is
// "". VT_NULL and arrays fail.
Result<std::string> VariantToText(const VARIANT& value);

// Doubles and numeric texts round half to even; a value outside -32768..32767, a text that is
// not a number, VT_NULL and arrays fail. Booleans give -1 and 0, VT_EMPTY 0.
Result<std::int16_t> VariantToInt16(const VARIANT& value);

// Texts are parsed with a point as the decimal separator (blanks around the number allowed);
// VT_NULL, arrays and texts that are not numbers fail. VT_EMPTY is 0.
Result<double> VariantToDouble(const VARIANT& value);

}  // namespace quellor
