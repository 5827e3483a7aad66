#include "base/numbers.h"

#include <cmath>
#include <limits>

#include "base/ascii.h"

namespace quellor {

std::int32_t DoubleToInt32(double value) {
  constexpr std::int32_t kIndefinite = std::numeric_limits<std::int32_t>::min();
  if (std::isnan(value)) return kIndefinite;
  const double truncated = std::trunc(value);
  if (truncated < -2147483648.0 || truncated > 2147483647.0) return kIndefinite;
  return static_cast<std::int32_t>(truncated);
}

std::int32_t ParseWrappedDecimal(const char* text) {
  while (IsAsciiSpace(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = (*text++ == '-');
  std::uint32_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + std::uint32_t(*text - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

float FractionOfRange(float fraction, double hi, double lo) {
  const float range = static_cast<float>(hi - lo);
  return range * fraction;
}

}  // namespace quellor
