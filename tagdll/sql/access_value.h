// A value held in SQLite as Access sees it, and the conversions Access makes between numbers,
// dates, text and truth. How each Access type is held is fixed in sql_type.h.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tagdll/sql/sql_type.h"

namespace quellor::tagdll::sql {

struct AccessValue {
  enum class Kind { kNull, kBoolean, kNumber, kDate, kText, kBinary };
  Kind kind = Kind::kNull;
  // Of a kNumber: the Access type, which decides how it shows (a Single with 7 digits, a
  // Currency with up to 4 decimals); kVariant when SQLite's storage is all that is known.
  SqlType type = SqlType::kVariant;
  double number = 0;                    // kBoolean: -1 or 0; kNumber; kDate: the serial
  std::optional<std::int64_t> integer;  // a kNumber held as an SQLite integer, exactly
  std::string_view text;                // kText: UTF-8, valid while the SQLite value is
};

// The value of an SQLite argument whose Access type is `type` (kVariant when unknown): a
// Yes/No is true when non-zero; a date is its ISO text, a serial or other date text, and a
// text that reads as no date stays text.
AccessValue ReadValue(sqlite3_value* value, SqlType type);
// The SqlType given as an integer after a type-hinted function's arguments; kVariant for a
// value that names none.
SqlType ReadTypeHint(sqlite3_value* hint);

// Access's conversions; nullopt for Null and for a value Access cannot convert (#Error).
// A number of a date is its serial, of a Yes/No -1 or 0, of text as ParseAccessNumber reads.
std::optional<double> NumberOf(const AccessValue& value);
// A date of a number is that serial; of text as ParseDateText reads.
std::optional<double> SerialOf(const AccessValue& value);
// Text as CStr gives it: "True"/"False", a date as GeneralDateText, a number as NumberText with
// its type's digits (CurrencyText for a Currency).
std::optional<std::string> TextOf(const AccessValue& value);
// Truth as CBool gives it: a number is true when non-zero; text is "True", "False" or a number.
std::optional<bool> TruthOf(const AccessValue& value);

}  // namespace quellor::tagdll::sql
