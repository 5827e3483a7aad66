#include "base/numbers.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include <gtest/gtest.h>

namespace quellor {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(Numbers, DoubleToInt32TruncatesAndGivesIndefiniteOutOfRange) {
  const struct {
    double in;
    std::int32_t out;
  } cases[] = {
      {0.0, 0},
      {1.9, 1},
      {-1.9, -1},
      {2147483647.0, 2147483647},
      {2147483647.9, 2147483647},
      {2147483648.0, kMin},
      {-2147483648.0, kMin},  // exactly -2^31: in range
      {-2147483648.9, kMin},  // truncates to -2^31: in range
      {-2147483649.0, kMin},  // out of range
      {1e12, kMin},
      {-1e12, kMin},
      {std::numeric_limits<double>::quiet_NaN(), kMin},
      {std::numeric_limits<double>::infinity(), kMin},
      {-std::numeric_limits<double>::infinity(), kMin},
  };
  for (const auto& c : cases) EXPECT_EQ(DoubleToInt32(c.in), c.out) << c.in;
  EXPECT_EQ(DoubleToInt32(-2147483647.0), -2147483647);
}

TEST(Numbers, ThirtyTwoBitArithmeticWraps) {
  EXPECT_EQ(WrappingAdd(2147483647, 1), kMin);
  EXPECT_EQ(WrappingSub(kMin, 1), 2147483647);
  EXPECT_EQ(WrappingMul(65536, 65536), 0);
  EXPECT_EQ(WrappingAdd(-1, 1), 0);
}

TEST(Numbers, LeadingNumbersOfTextWrapModuloTwoToTheThirtyTwo) {
  constexpr std::optional<std::int32_t> kNone;
  // A 32-bit pattern as the signed number it is.
  const auto bits = [](std::uint32_t value) { return static_cast<std::int32_t>(value); };
  const struct {
    const char* in;
    std::optional<std::int32_t> decimal, hex;
  } cases[] = {
      {"-1", -1, -1},
      {"+1", 1, 1},
      {"4294967296", 0, bits(0x94967296)},
      {"4294967297", 1, bits(0x94967297)},
      {"-4294967297", -1, bits(0u - 0x94967297u)},
      {"42A94", 42, 0x42A94},
      {"B42", kNone, 0xB42},
      {"  7 ", 7, 7},
      {"\t\n-0x1F;", 0, -0x1F},
      {"0xG", 0, 0},  // the 0 before the x is the number
      {"", kNone, kNone},
      {"-", kNone, kNone},
      {"2147483648", kMin, 0x47483648},
      {"FFFFFFFF", kNone, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadLeadingDecimal(c.in), c.decimal) << c.in;
    EXPECT_EQ(ReadLeadingHex(c.in), c.hex) << c.in;
  }
}

TEST(Numbers, FractionOfRangeIsComputedInFloat32) {
  // In double, 0.005f * 200 is 0.99999997..., in float32 exactly 1.
  EXPECT_EQ(FractionOfRange(0.005f, 200.0, 0.0), 1.0f);
  EXPECT_EQ(FractionOfRange(0.005f, 100.0, -100.0), 1.0f);
  // A reversed range gives a negative figure rather than an error.
  EXPECT_EQ(FractionOfRange(0.5f, 0.0, 10.0), -5.0f);
  EXPECT_EQ(FractionOfRange(0.005f, 0.0, 0.0), 0.0f);
  // The range rounds to float32 before the product: 16777217 becomes 16777216.
  EXPECT_EQ(FractionOfRange(1.0f, 16777217.0, 0.0), 16777216.0f);
}

}  // namespace
}  // namespace quellor
