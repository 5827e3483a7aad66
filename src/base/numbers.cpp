#include "base/numbers.h"

#include <cmath>
#include <limits>

#include "base/ascii.h"

namespace quellor {
namespace {

// The value of `c` as a digit of `base` (10 or 16), or -1.
int DigitValue(char c, unsigned base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::int32_t> ReadLeading(std::string_view text, unsigned base) {
  text = TrimLeftAscii(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (base == 16 && text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (text.size() == 2 || DigitValue(text[2], base) < 0) return 0;  // the 0 is the number
    text.remove_prefix(2);
  }
  std::uint32_t value = 0;
  std::size_t digits = 0;
  for (; digits < text.size() && DigitValue(text[digits], base) >= 0; ++digits) {
    value = value * base + static_cast<std::uint32_t>(DigitValue(text[digits], base));
  }
  if (digits == 0) return std::nullopt;
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t DoubleToInt32(double value) {
  constexpr std::int32_t kIndefinite = std::numeric_limits<std::int32_t>::min();
  if (std::isnan(value)) return kIndefinite;
  const double truncated = std::trunc(value);
  if (truncated < -2147483648.0 || truncated > 2147483647.0) return kIndefinite;
  return static_cast<std::int32_t>(truncated);
}

std::optional<std::int32_t> ReadLeadingDecimal(std::string_view text) {
  return ReadLeading(text, 10);
}

std::optional<std::int32_t> ReadLeadingHex(std::string_view text) { return ReadLeading(text, 16); }

float FractionOfRange(float fraction, double hi, double lo) {
  const float range = static_cast<float>(hi - lo);
  return range * fraction;
}

}  // namespace quellor
