// Numbers at their edges, as the 32-bit x86 program computes them, with no undefined
// behaviour on any input.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quellor {

// A double converted to a 32-bit integer: truncated toward zero; NaN, infinities and values
// whose truncation lies outside the 32-bit range give INT32_MIN (the x86 "integer indefinite").
std::int32_t DoubleToInt32(double value);

// 32-bit arithmetic that wraps modulo 2^32 instead of overflowing.
constexpr std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrappingSub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrappingMul(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Numbers read from text as the C runtime's "%d" and "%x" conversions and atoi read them:
// optional white space, an optional sign, then digits (for hexadecimal an optional "0x" or
// "0X" first); the number ends at the first character that is not a digit of its base and the
// rest is ignored. Values wrap modulo 2^32 (so "4294967297" is 1), so no input is undefined.
//
// The decimal number at the start of `text`, or none when it does not begin with one (atoi
// gives 0 there).
std::optional<std::int32_t> ReadLeadingDecimal(std::string_view text);
// The hexadecimal number at the start of `text`, or none when it does not begin with one.
// "0x" not followed by a hexadecimal digit reads as 0, the digit before the x.
std::optional<std::int32_t> ReadLeadingHex(std::string_view text);

// A fraction of a range in float32, as float fields are computed: the range hi - lo is formed
// in double, rounded to float32 and multiplied by the float32 fraction in float32.
// So 0.005 of a range of 200 is exactly 1.
float FractionOfRange(float fraction, double hi, double lo);

}  // namespace quellor
