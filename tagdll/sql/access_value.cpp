#include "tagdll/sql/access_value.h"

#include "base/ascii.h"
#include "tagdll/sql/access_date_text.h"
#include "tagdll/sql/access_number.h"
#include "tagdll/sql/type_rules.h"

namespace quellor::tagdll::sql {
namespace {

using Kind = AccessValue::Kind;

std::string_view TextView(sqlite3_value* value) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
  if (text == nullptr) return {};
  return std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value)));
}

AccessValue StoredValue(sqlite3_value* value, SqlType type) {
  AccessValue result;
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
      result.kind = Kind::kNumber;
      result.integer = sqlite3_value_int64(value);
      result.number = static_cast<double>(*result.integer);
      result.type = IsNumber(type) ? type : SqlType::kVariant;
      break;
    case SQLITE_FLOAT:
      result.kind = Kind::kNumber;
      result.number = sqlite3_value_double(value);
      result.type = IsNumber(type) ? type : SqlType::kVariant;
      break;
    case SQLITE_TEXT:
      result.kind = Kind::kText;
      result.text = TextView(value);
      break;
    case SQLITE_BLOB:
      result.kind = Kind::kBinary;
      break;
    default:
      break;
  }
  return result;
}

}  // namespace

AccessValue ReadValue(sqlite3_value* value, SqlType type) {
  AccessValue result = StoredValue(value, type);
  if (type == SqlType::kBoolean && result.kind == Kind::kNumber) {
    result.kind = Kind::kBoolean;
    result.number = result.number != 0 ? -1 : 0;
    result.integer.reset();
  } else if (type == SqlType::kDate && result.kind == Kind::kNumber) {
    result.kind = Kind::kDate;
    result.integer.reset();
  } else if (type == SqlType::kDate && result.kind == Kind::kText) {
    if (const std::optional<double> serial = ParseDateText(result.text)) {
      result.kind = Kind::kDate;
      result.number = *serial;
    }
  }
  return result;
}

SqlType ReadTypeHint(sqlite3_value* hint) {
  if (sqlite3_value_type(hint) != SQLITE_INTEGER) return SqlType::kVariant;
  const sqlite3_int64 code = sqlite3_value_int64(hint);
  if (code < 0 || code > static_cast<int>(SqlType::kVariant)) return SqlType::kVariant;
  return static_cast<SqlType>(code);
}

std::optional<double> NumberOf(const AccessValue& value) {
  switch (value.kind) {
    case Kind::kBoolean:
    case Kind::kNumber:
    case Kind::kDate:
      return value.number;
    case Kind::kText:
      return ParseAccessNumber(value.text);
    default:
      return std::nullopt;
  }
}

std::optional<double> SerialOf(const AccessValue& value) {
  switch (value.kind) {
    case Kind::kBoolean:
    case Kind::kNumber:
    case Kind::kDate:
      if (!PartsFromSerial(value.number)) return std::nullopt;
      return value.number;
    case Kind::kText:
      return ParseDateText(value.text);
    default:
      return std::nullopt;
  }
}

std::optional<std::string> TextOf(const AccessValue& value) {
  switch (value.kind) {
    case Kind::kBoolean:
      return value.number != 0 ? "True" : "False";
    case Kind::kDate: {
      const std::optional<DateTimeParts> parts = PartsFromSerial(value.number);
      if (!parts) return std::nullopt;
      return GeneralDateText(*parts);
    }
    case Kind::kNumber:
      if (value.integer) return std::to_string(*value.integer);
      if (value.type == SqlType::kCurrency) return CurrencyText(value.number);
      return NumberText(value.number, value.type == SqlType::kSingle ? 7 : 15);
    case Kind::kText:
      return std::string(value.text);
    default:
      return std::nullopt;
  }
}

std::optional<bool> TruthOf(const AccessValue& value) {
  if (value.kind == Kind::kText) {
    const std::string_view text = TrimAscii(value.text);
    if (EqualsIgnoreCase(text, "True")) return true;
    if (EqualsIgnoreCase(text, "False")) return false;
  }
  const std::optional<double> number = NumberOf(value);
  if (!number) return std::nullopt;
  return *number != 0;
}

}  // namespace quellor::tagdll::sql
