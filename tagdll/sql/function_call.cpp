#include "tagdll/sql/function_call.h"

#include <cmath>

#include "tagdll/sql/access_date.h"
#include "tagdll/sql/access_number.h"
#include "tagdll/sql/utf8_text.h"

namespace quellor::tagdll::sql {

FunctionCall::FunctionCall(sqlite3_context* context, int argc, sqlite3_value** argv,
                           bool type_hinted)
    : context_(context), argc_(type_hinted ? argc - 1 : argc), argv_(argv) {
  if (type_hinted) hint_ = ReadTypeHint(argv[argc - 1]);
}

bool FunctionCall::IsNull(int index) const {
  return sqlite3_value_type(argv_[index]) == SQLITE_NULL;
}

bool FunctionCall::AnyNull() const {
  for (int index = 0; index < argc_; ++index) {
    if (IsNull(index)) return true;
  }
  return false;
}

AccessValue FunctionCall::Value(int index) const {
  return ReadValue(argv_[index], index == 0 ? hint_ : SqlType::kVariant);
}

std::optional<std::u32string> FunctionCall::Characters(int index) const {
  const std::optional<std::string> text = Text(index);
  if (!text) return std::nullopt;
  return DecodeUtf8(*text);
}

std::optional<std::int32_t> FunctionCall::Long(int index) const {
  const std::optional<double> number = Number(index);
  if (!number) return std::nullopt;
  return ToLong(*number);
}

std::optional<std::int32_t> FunctionCall::LongOr(int index, std::int32_t fallback) const {
  if (index >= argc_) return fallback;
  return Long(index);
}

std::size_t FunctionCall::MaxTextBytes() const {
  return static_cast<std::size_t>(
      sqlite3_limit(sqlite3_context_db_handle(context_), SQLITE_LIMIT_LENGTH, -1));
}

void FunctionCall::SetText(std::string_view text) {
  if (text.size() > MaxTextBytes()) return;  // Access would run out of memory: #Error
  // A null pointer would make the result Null; an empty text is not Null.
  const char* bytes = text.empty() ? "" : text.data();
  sqlite3_result_text64(context_, bytes, text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void FunctionCall::SetCharacters(std::u32string_view characters) {
  SetText(EncodeUtf8(characters));
}

void FunctionCall::SetNumber(double value, SqlType type) {
  switch (type) {
    case SqlType::kBoolean:
      SetBoolean(value != 0);
      break;
    case SqlType::kByte:
    case SqlType::kInt16:
    case SqlType::kInt32:
      if (std::fabs(value) < 9.2e18) {  // within SQLite's integers
        sqlite3_result_int64(context_, static_cast<sqlite3_int64>(value));
      } else {
        sqlite3_result_double(context_, value);
      }
      break;
    case SqlType::kSingle:
      if (const std::optional<double> single = ToSingle(value)) {
        sqlite3_result_double(context_, *single);
      }
      break;
    case SqlType::kDate:
      SetDate(value);
      break;
    default:
      sqlite3_result_double(context_, value);
      break;
  }
}

void FunctionCall::SetDate(double serial) {
  if (const std::optional<std::string> iso = IsoDateFromSerial(serial)) SetText(*iso);
}

}  // namespace quellor::tagdll::sql
