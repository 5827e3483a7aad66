// Numbers in DDE.CFG values, read as the C runtime's "%d" and "%x" conversions read them:
// optional white space, an optional sign, then digits (for hexadecimal an optional "0x" or
// "0X" first); the number ends at the first character that is not a digit of its base and the
// rest is ignored. Values wrap modulo 2^32, so no input is undefined.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quellor {

// The decimal number at the start of `text`, or nullopt when it does not begin with one.
std::optional<std::int32_t> ReadLeadingDecimal(std::string_view text);

// The hexadecimal number at the start of `text`, or nullopt when it does not begin with one.
// "0x" not followed by a hexadecimal digit reads as 0, the digit before the x.
std::optional<std::int32_t> ReadLeadingHex(std::string_view text);

}  // namespace quellor
