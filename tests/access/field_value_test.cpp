// Values of the column types the two real files lack (Byte, Double, Replication ID, Decimal),
// the edges of the others, and text as Jet 3 and Jet 4 store it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tagdll/access/access_text.h"
#include "tagdll/access/field_value.h"
#include "testing/status_matchers.h"

namespace quellor::testing {
namespace {

using tagdll::access::AccessType;
using tagdll::access::DecodeFixedValue;
using tagdll::access::FieldValue;

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  return std::vector<std::uint8_t>(values.begin(), values.end());
}

std::vector<std::uint8_t> DoubleBytes(double value) {
  std::vector<std::uint8_t> bytes(8);
  const auto bits = std::bit_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  return bytes;
}

TEST(FieldValueTest, DecodesEachFixedSizeTypeIntoItsSqliteValue) {
  struct Case {
    AccessType type;
    std::vector<std::uint8_t> bytes;
    int scale;
    FieldValue expected;
  } const cases[] = {
      {AccessType::kByte, Bytes({0xFF}), 0, std::int64_t{255}},
      {AccessType::kInteger, Bytes({0xFE, 0xFF}), 0, std::int64_t{-2}},
      {AccessType::kLong, Bytes({0x00, 0x00, 0x00, 0x80}), 0, std::int64_t{INT32_MIN}},
      {AccessType::kCurrency, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 0, -0.0001},
      {AccessType::kCurrency, Bytes({0x02, 0x5E, 0x01, 0x00, 0, 0, 0, 0}), 0, 8.9602},
      {AccessType::kSingle, Bytes({0x9A, 0x99, 0x19, 0x3E}), 0, static_cast<double>(0.15f)},
      {AccessType::kDouble, DoubleBytes(0.1), 0, 0.1},
      // Before 1899-12-30 the fraction is the time of day on its own.
      {AccessType::kDateTime, DoubleBytes(-1.25), 0, std::string("1899-12-29 06:00:00")},
      {AccessType::kDateTime, DoubleBytes(2958465.5), 0, std::string("9999-12-31 12:00:00")},
      {AccessType::kDateTime, DoubleBytes(-657434), 0, std::string("0100-01-01 00:00:00")},
      {AccessType::kGuid,
       Bytes({0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB,
              0xCD, 0xEF}),
       0, std::string("{12345678-9ABC-DEF0-0123-456789ABCDEF}")},
      // Decimal: a sign byte, then 32-bit words from the most significant.
      {AccessType::kDecimal, Bytes({0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x39, 0x30, 0, 0}), 2,
       123.45},
      {AccessType::kDecimal, Bytes({0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0}), 0,
       -4294967296.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.type));
    const Result<FieldValue> value = DecodeFixedValue(c.type, c.bytes, c.scale);
    ASSERT_THAT(value, IsOk());
    EXPECT_EQ(*value, c.expected);
  }
}

TEST(FieldValueTest, RefusesAValueOfTheWrongSizeAndADateOutOfRange) {
  EXPECT_THAT(DecodeFixedValue(AccessType::kLong, Bytes({1, 2, 3}), 0),
              StatusIs(StatusCode::kCorruption, "a Long value of 3 bytes"));
  EXPECT_THAT(DecodeFixedValue(AccessType::kDateTime, DoubleBytes(3.0e6), 0),
              StatusIs(StatusCode::kCorruption, "a date outside the years 100 to 9999"));
}

TEST(FieldValueTest, DecodesTextAsJet3AndJet4StoreIt) {
  using tagdll::access::AccessFormat;
  using tagdll::access::TextDecoder;
  const TextDecoder jet3(AccessFormat::kJet3, 1252, nullptr);
  const TextDecoder jet4(AccessFormat::kJet4, 1252, nullptr);
  struct Case {
    const TextDecoder& decoder;
    std::vector<std::uint8_t> bytes;
    std::string expected;
  } const cases[] = {
      // Windows-1252 by our own table, which keeps 0x81 as U+0081.
      {jet3, Bytes({'L', 'u', 'l', 0xE5, 0x81, 0x80}), "Lul\xC3\xA5\xC2\x81\xE2\x82\xAC"},
      {jet4, Bytes({'A', 0, 0xAC, 0x20}), "A\xE2\x82\xAC"},
      // Compressed: one-byte runs, a 0 byte switching to two-byte runs and back.
      {jet4, Bytes({0xFF, 0xFE, 'A', 'B', 0, 0xAC, 0x20, 0, 'C'}),
       "AB\xE2\x82\xAC"
       "C"},
      {jet4, Bytes({0x3D, 0xD8, 0x00, 0xDE}), "\xF0\x9F\x98\x80"},  // a surrogate pair
      {jet4, Bytes({0x3D, 0xD8, 'x', 0}), "\xEF\xBF\xBDx"},         // a lone surrogate
  };
  for (const Case& c : cases) EXPECT_EQ(c.decoder.Decode(c.bytes), c.expected);
}

}  // namespace
}  // namespace quellor::testing
