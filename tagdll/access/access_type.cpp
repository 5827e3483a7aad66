#include "tagdll/access/access_type.h"

namespace quellor::tagdll::access {

using sql::SqlType;

std::optional<AccessType> AccessTypeFromCode(int code) {
  switch (code) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
    case 0x07:
    case 0x08:
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0F:
    case 0x10:
    case 0x12:
      return static_cast<AccessType>(code);
    default:
      return std::nullopt;
  }
}

std::optional<SqlType> SqlTypeOf(AccessType type) {
  switch (type) {
    case AccessType::kBoolean:
      return SqlType::kBoolean;
    case AccessType::kByte:
      return SqlType::kByte;
    case AccessType::kInteger:
      return SqlType::kInt16;
    case AccessType::kLong:
      return SqlType::kInt32;
    case AccessType::kCurrency:
      return SqlType::kCurrency;
    case AccessType::kSingle:
      return SqlType::kSingle;
    case AccessType::kDouble:
      return SqlType::kDouble;
    case AccessType::kDateTime:
      return SqlType::kDate;
    case AccessType::kBinary:
    case AccessType::kOle:
      return SqlType::kBinary;
    case AccessType::kText:
    case AccessType::kMemo:
      return SqlType::kText;
    case AccessType::kGuid:
      return SqlType::kGuid;
    case AccessType::kDecimal:
      return SqlType::kDecimal;
    case AccessType::kComplex:
      return std::nullopt;
  }
  return std::nullopt;
}

std::string_view DeclaredType(SqlType type) {
  switch (type) {
    case SqlType::kBoolean:
      return "BOOLEAN";
    case SqlType::kByte:
    case SqlType::kInt16:
      return "SMALLINT";
    case SqlType::kInt32:
      return "INTEGER";
    case SqlType::kSingle:
    case SqlType::kDouble:
    case SqlType::kCurrency:
    case SqlType::kDecimal:
      return "DOUBLE";
    case SqlType::kDate:
      return "DATETIME";
    case SqlType::kText:
      return "TEXT COLLATE NOCASE";
    case SqlType::kBinary:
      return "BLOB";
    case SqlType::kGuid:
      return "GUID";
    case SqlType::kNull:
    case SqlType::kVariant:
      break;
  }
  return "";
}

std::string_view AccessTypeName(AccessType type) {
  switch (type) {
    case AccessType::kBoolean:
      return "Yes/No";
    case AccessType::kByte:
      return "Byte";
    case AccessType::kInteger:
      return "Integer";
    case AccessType::kLong:
      return "Long";
    case AccessType::kCurrency:
      return "Currency";
    case AccessType::kSingle:
      return "Single";
    case AccessType::kDouble:
      return "Double";
    case AccessType::kDateTime:
      return "Date/Time";
    case AccessType::kBinary:
      return "Binary";
    case AccessType::kText:
      return "Text";
    case AccessType::kOle:
      return "OLE Object";
    case AccessType::kMemo:
      return "Memo";
    case AccessType::kGuid:
      return "Replication ID";
    case AccessType::kDecimal:
      return "Decimal";
    case AccessType::kComplex:
      return "multi-value or attachment";
  }
  return "";
}

}  // namespace quellor::tagdll::access
