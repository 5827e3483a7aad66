// The column types of an Access file, by the code the file stores, and how the import holds
// each in SQLite (tagdll/sql/sql_type.h).
#pragma once

#include <optional>
#include <string_view>

#include "tagdll/sql/sql_type.h"

namespace quellor::tagdll::access {

enum class AccessType : int {
  kBoolean = 0x01,   // Yes/No: no bytes in the row; the row's null bit is the value
  kByte = 0x02,      // 1 byte, unsigned
  kInteger = 0x03,   // 2 bytes, signed
  kLong = 0x04,      // 4 bytes, signed; AutoNumber too
  kCurrency = 0x05,  // 8 bytes, signed, in ten-thousandths
  kSingle = 0x06,    // IEEE float
  kDouble = 0x07,    // IEEE double
  kDateTime = 0x08,  // IEEE double, a day count (tagdll/sql/access_date.h)
  kBinary = 0x09,    // up to 255 bytes in the row
  kText = 0x0A,      // up to 255 characters in the row
  kOle = 0x0B,       // a long value: bytes
  kMemo = 0x0C,      // a long value: text
  kGuid = 0x0F,      // 16 bytes
  kDecimal = 0x10,   // 17 bytes: a sign byte, then a 128-bit magnitude, scaled by the column
  kComplex = 0x12,   // ACE multi-value and attachment columns: rows of a hidden table
};

// The type of a stored code; nullopt for a code this import does not know.
std::optional<AccessType> AccessTypeFromCode(int code);

// How a column of that type is held in SQLite; nullopt for kComplex, which is not imported.
std::optional<sql::SqlType> SqlTypeOf(AccessType type);

// The declared type of an SQLite column holding `type`, as the project schema writes it.
std::string_view DeclaredType(sql::SqlType type);

// "Text", "Memo", "Currency", ...: the type as Access names it, for messages.
std::string_view AccessTypeName(AccessType type);

}  // namespace quellor::tagdll::access
