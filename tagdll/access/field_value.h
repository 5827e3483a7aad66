// A value read from a row of an Access table, in the storage class SQLite holds it in
// (tagdll/sql/sql_type.h): Null, an integer, a real, text (UTF-8) or bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "base/status.h"
#include "tagdll/access/access_type.h"

namespace quellor::tagdll::access {

struct Blob {
  std::vector<std::uint8_t> bytes;
  friend bool operator==(const Blob&, const Blob&) = default;
};

using FieldValue = std::variant<std::monostate, std::int64_t, double, std::string, Blob>;

// The value of a column whose type has a fixed size in the row (Byte, Integer, Long, Currency,
// Single, Double, Date/Time, Replication ID, Decimal), from its bytes; `scale` is a Decimal
// column's. Currency and Decimal become the double nearest to the stored decimal value, a
// Single its exact value, a date "YYYY-MM-DD HH:MM:SS", a Replication ID its braced upper-case
// form. Fails with kCorruption when the bytes are not the type's size or a date lies outside
// the years 100 to 9999.
Result<FieldValue> DecodeFixedValue(AccessType type, std::span<const std::uint8_t> bytes,
                                    int scale);

// The nearest double to `digits` (a decimal integer, optionally negative) times 10^-scale.
double ScaledDecimal(const std::string& digits, int scale);

}  // namespace quellor::tagdll::access
