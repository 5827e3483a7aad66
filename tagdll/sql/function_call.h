// One call of an Access function from SQLite: its Access arguments (a type hint set apart)
// and its result. A result never set is Null, which is how Access's #Error reaches SQLite:
// an implementation that meets bad data simply returns.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tagdll/sql/access_value.h"
#include "tagdll/sql/sql_type.h"

namespace quellor::tagdll::sql {

class FunctionCall final {
 public:
  // `type_hinted`: the last of argv is the SqlType of argument 0, not an Access argument.
  FunctionCall(sqlite3_context* context, int argc, sqlite3_value** argv, bool type_hinted);

  // The number of Access arguments.
  int size() const { return argc_; }
  bool IsNull(int index) const;
  bool AnyNull() const;
  sqlite3_value* raw(int index) const { return argv_[index]; }
  // The Access type of argument 0 (kVariant without a hint).
  SqlType hint() const { return hint_; }

  // An argument as Access sees it: argument 0 with its hinted type, the others by storage.
  AccessValue Value(int index) const;
  std::optional<double> Number(int index) const { return NumberOf(Value(index)); }
  std::optional<double> Serial(int index) const { return SerialOf(Value(index)); }
  std::optional<std::string> Text(int index) const { return TextOf(Value(index)); }
  std::optional<std::u32string> Characters(int index) const;
  // A whole number as CLng makes it (half to even; nullopt outside a Long's range).
  std::optional<std::int32_t> Long(int index) const;
  // An optional argument given as a whole number, or `fallback` when the call omits it.
  std::optional<std::int32_t> LongOr(int index, std::int32_t fallback) const;

  // The longest text SQLite accepts as a result here, in bytes.
  std::size_t MaxTextBytes() const;

  void SetText(std::string_view text);
  void SetCharacters(std::u32string_view characters);
  // An integral type becomes an SQLite integer, a kBoolean 1 or 0, a kSingle the float's
  // value, a kDate its ISO text; every other number a real.
  void SetNumber(double value, SqlType type);
  void SetDate(double serial);  // Null outside Access's years
  void SetBoolean(bool value) { sqlite3_result_int(context_, value ? 1 : 0); }
  void SetValue(sqlite3_value* value) { sqlite3_result_value(context_, value); }

 private:
  sqlite3_context* context_;
  int argc_;
  sqlite3_value** argv_;
  SqlType hint_ = SqlType::kVariant;
};

}  // namespace quellor::tagdll::sql
