#include "tagdll/sql/type_rules.h"

#include <string>
#include <utility>

#include "base/ascii.h"

namespace quellor::tagdll::sql {
namespace {

bool Contains(const std::string& upper, std::string_view part) {
  return upper.find(part) != std::string::npos;
}

// The order in which integer and floating types widen.
int Rank(SqlType type) {
  switch (type) {
    case SqlType::kByte:
      return 0;
    case SqlType::kBoolean:
    case SqlType::kInt16:
      return 1;
    case SqlType::kInt32:
      return 2;
    case SqlType::kSingle:
      return 3;
    default:
      return 4;
  }
}

}  // namespace

bool IsNumeric(SqlType type) { return type == SqlType::kBoolean || IsNumber(type); }

bool IsNumber(SqlType type) {
  switch (type) {
    case SqlType::kByte:
    case SqlType::kInt16:
    case SqlType::kInt32:
    case SqlType::kSingle:
    case SqlType::kDouble:
    case SqlType::kCurrency:
    case SqlType::kDecimal:
      return true;
    default:
      return false;
  }
}

bool IsInteger(SqlType type) {
  return type == SqlType::kByte || type == SqlType::kInt16 || type == SqlType::kInt32;
}

bool IsTextual(SqlType type) { return type == SqlType::kText || type == SqlType::kGuid; }

bool IsTextLike(SqlType type) { return IsTextual(type) || type == SqlType::kVariant; }

SqlType SqlTypeFromDeclared(std::string_view declared) {
  const std::string upper = ToUpperAscii(declared);
  if (Contains(upper, "BOOL") || Contains(upper, "BIT") || Contains(upper, "YESNO")) {
    return SqlType::kBoolean;
  }
  if (Contains(upper, "SMALLINT") || Contains(upper, "INT2") || Contains(upper, "SHORT")) {
    return SqlType::kInt16;
  }
  if (Contains(upper, "INT")) return SqlType::kInt32;
  if (Contains(upper, "REAL") || Contains(upper, "DOUB") || Contains(upper, "FLOA")) {
    return SqlType::kDouble;
  }
  if (Contains(upper, "TEXT") || Contains(upper, "CHAR") || Contains(upper, "CLOB") ||
      Contains(upper, "MEMO")) {
    return SqlType::kText;
  }
  if (Contains(upper, "DATE") || Contains(upper, "TIME")) return SqlType::kDate;
  if (Contains(upper, "CURRENCY") || Contains(upper, "MONEY")) return SqlType::kCurrency;
  if (Contains(upper, "DECIMAL") || Contains(upper, "NUMERIC")) return SqlType::kDecimal;
  if (Contains(upper, "BLOB") || Contains(upper, "BINARY")) return SqlType::kBinary;
  if (Contains(upper, "GUID")) return SqlType::kGuid;
  return SqlType::kVariant;
}

std::optional<SqlType> SqlTypeFromJetName(std::string_view name) {
  static const std::pair<std::string_view, SqlType> kNames[] = {
      {"BIT", SqlType::kBoolean},         {"YESNO", SqlType::kBoolean},
      {"LOGICAL", SqlType::kBoolean},     {"LOGICAL1", SqlType::kBoolean},
      {"BOOLEAN", SqlType::kBoolean},     {"BYTE", SqlType::kByte},
      {"TINYINT", SqlType::kByte},        {"INTEGER1", SqlType::kByte},
      {"SHORT", SqlType::kInt16},         {"SMALLINT", SqlType::kInt16},
      {"INTEGER2", SqlType::kInt16},      {"LONG", SqlType::kInt32},
      {"INT", SqlType::kInt32},           {"INTEGER", SqlType::kInt32},
      {"INTEGER4", SqlType::kInt32},      {"COUNTER", SqlType::kInt32},
      {"AUTOINCREMENT", SqlType::kInt32}, {"SINGLE", SqlType::kSingle},
      {"REAL", SqlType::kSingle},         {"FLOAT4", SqlType::kSingle},
      {"IEEESINGLE", SqlType::kSingle},   {"DOUBLE", SqlType::kDouble},
      {"FLOAT", SqlType::kDouble},        {"FLOAT8", SqlType::kDouble},
      {"IEEEDOUBLE", SqlType::kDouble},   {"NUMBER", SqlType::kDouble},
      {"CURRENCY", SqlType::kCurrency},   {"MONEY", SqlType::kCurrency},
      {"DECIMAL", SqlType::kDecimal},     {"NUMERIC", SqlType::kDecimal},
      {"DEC", SqlType::kDecimal},         {"DATETIME", SqlType::kDate},
      {"DATE", SqlType::kDate},           {"TIME", SqlType::kDate},
      {"TIMESTAMP", SqlType::kDate},      {"TEXT", SqlType::kText},
      {"CHAR", SqlType::kText},           {"CHARACTER", SqlType::kText},
      {"VARCHAR", SqlType::kText},        {"ALPHANUMERIC", SqlType::kText},
      {"STRING", SqlType::kText},         {"MEMO", SqlType::kText},
      {"LONGTEXT", SqlType::kText},       {"LONGCHAR", SqlType::kText},
      {"NOTE", SqlType::kText},           {"NTEXT", SqlType::kText},
      {"NCHAR", SqlType::kText},          {"NVARCHAR", SqlType::kText},
      {"BINARY", SqlType::kBinary},       {"VARBINARY", SqlType::kBinary},
      {"LONGBINARY", SqlType::kBinary},   {"OLEOBJECT", SqlType::kBinary},
      {"GENERAL", SqlType::kBinary},      {"IMAGE", SqlType::kBinary},
      {"GUID", SqlType::kGuid},           {"UNIQUEIDENTIFIER", SqlType::kGuid},
      {"VALUE", SqlType::kVariant},
  };
  for (const auto& [jet_name, type] : kNames) {
    if (EqualsIgnoreCase(jet_name, name)) return type;
  }
  return std::nullopt;
}

SqlType WiderNumeric(SqlType a, SqlType b) {
  if (a == SqlType::kDecimal || b == SqlType::kDecimal) return SqlType::kDecimal;
  const bool a_floating = a == SqlType::kSingle || a == SqlType::kDouble;
  const bool b_floating = b == SqlType::kSingle || b == SqlType::kDouble;
  if (a == SqlType::kCurrency || b == SqlType::kCurrency) {
    return a_floating || b_floating ? SqlType::kDouble : SqlType::kCurrency;
  }
  if ((a == SqlType::kSingle && b == SqlType::kInt32) ||
      (b == SqlType::kSingle && a == SqlType::kInt32)) {
    return SqlType::kDouble;
  }
  const SqlType wider = Rank(a) >= Rank(b) ? a : b;
  return wider == SqlType::kBoolean ? SqlType::kInt16 : wider;
}

SqlType UnifyTypes(SqlType a, SqlType b) {
  if (a == b) return a;
  if (a == SqlType::kNull) return b;
  if (b == SqlType::kNull) return a;
  if (IsNumeric(a) && IsNumeric(b)) return WiderNumeric(a, b);
  if (IsTextual(a) && IsTextual(b)) return SqlType::kText;
  return SqlType::kVariant;
}

}  // namespace quellor::tagdll::sql
