#include "tagdll/column_value.h"

#include <cstdint>
#include <string>

#include "base/ascii.h"
#include "base/cp1252.h"

namespace quellor::tagdll {
namespace {

bool Contains(const std::string& upper, std::string_view part) {
  return upper.find(part) != std::string::npos;
}

// `storage` is the value's storage class (sqlite3_value_type).
bool ByStorageClass(sqlite3_value* value, int storage, VARIANT* out) {
  switch (storage) {
    case SQLITE_INTEGER: {
      const sqlite3_int64 number = sqlite3_value_int64(value);
      if (number >= INT32_MIN && number <= INT32_MAX) {
        VariantSetI4(out, static_cast<std::int32_t>(number));
      } else {
        VariantSetR8(out, static_cast<double>(number));
      }
      return true;
    }
    case SQLITE_FLOAT:
      VariantSetR8(out, sqlite3_value_double(value));
      return true;
    case SQLITE_TEXT: {
      // The text first, then its length: asked in this order the length costs nothing.
      const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
      const std::string_view utf8(text, static_cast<std::size_t>(sqlite3_value_bytes(value)));
      // ASCII, as most project text is, reads the same in both encodings.
      if (IsAscii(utf8)) return VariantSetText(out, utf8);
      return VariantSetText(out, Utf8ToCp1252(utf8));
    }
    case SQLITE_BLOB: {
      const auto* bytes = static_cast<const char*>(sqlite3_value_blob(value));
      const int length = sqlite3_value_bytes(value);
      return VariantSetText(out, std::string_view(bytes, bytes == nullptr ? 0 : length));
    }
    default:
      VariantSetNull(out);
      return true;
  }
}

}  // namespace

DeclaredKind ClassifyDeclaredType(const char* declared_type) {
  if (declared_type == nullptr) return DeclaredKind::kOther;
  const std::string upper = ToUpperAscii(declared_type);
  if (Contains(upper, "BOOL") || Contains(upper, "BIT") || Contains(upper, "YESNO")) {
    return DeclaredKind::kBoolean;
  }
  if (Contains(upper, "SMALLINT") || Contains(upper, "INT2") || Contains(upper, "SHORT")) {
    return DeclaredKind::kInt16;
  }
  if (Contains(upper, "INT")) return DeclaredKind::kInt32;
  if (Contains(upper, "REAL") || Contains(upper, "DOUB") || Contains(upper, "FLOA")) {
    return DeclaredKind::kDouble;
  }
  if (Contains(upper, "TEXT") || Contains(upper, "CHAR") || Contains(upper, "CLOB") ||
      Contains(upper, "MEMO")) {
    return DeclaredKind::kText;
  }
  return DeclaredKind::kOther;
}

DeclaredKind KindOfSqlType(sql::SqlType type) {
  switch (type) {
    case sql::SqlType::kBoolean:
      return DeclaredKind::kBoolean;
    case sql::SqlType::kByte:
    case sql::SqlType::kInt16:
      return DeclaredKind::kInt16;
    case sql::SqlType::kInt32:
      return DeclaredKind::kInt32;
    case sql::SqlType::kSingle:
    case sql::SqlType::kDouble:
    case sql::SqlType::kCurrency:
    case sql::SqlType::kDecimal:
      return DeclaredKind::kDouble;
    case sql::SqlType::kText:
    case sql::SqlType::kGuid:
      return DeclaredKind::kText;
    default:
      return DeclaredKind::kOther;
  }
}

bool ColumnToVariant(sqlite3_stmt* statement, int column, VARIANT* out) {
  return ColumnToVariant(statement, column,
                         ClassifyDeclaredType(sqlite3_column_decltype(statement, column)), out);
}

bool ColumnToVariant(sqlite3_stmt* statement, int column, DeclaredKind kind, VARIANT* out) {
  // The column's value is found once and then read through its own accessors, each far cheaper
  // than a column accessor. SQLite calls such a value unprotected: safe here, where one thread
  // uses the connection at a time.
  sqlite3_value* const value = sqlite3_column_value(statement, column);
  const int storage = sqlite3_value_type(value);
  if (storage == SQLITE_NULL) {
    VariantSetNull(out);
    return true;
  }
  const sqlite3_int64 integer = storage == SQLITE_INTEGER ? sqlite3_value_int64(value) : 0;
  switch (kind) {
    case DeclaredKind::kBoolean:
      if (storage != SQLITE_INTEGER) break;
      VariantSetBool(out, integer != 0);
      return true;
    case DeclaredKind::kInt16:
      if (storage != SQLITE_INTEGER || integer < INT16_MIN || integer > INT16_MAX) break;
      VariantSetI2(out, static_cast<std::int16_t>(integer));
      return true;
    case DeclaredKind::kInt32:
      if (storage != SQLITE_INTEGER || integer < INT32_MIN || integer > INT32_MAX) break;
      VariantSetI4(out, static_cast<std::int32_t>(integer));
      return true;
    case DeclaredKind::kDouble:
      if (storage != SQLITE_INTEGER && storage != SQLITE_FLOAT) break;
      VariantSetR8(out, sqlite3_value_double(value));
      return true;
    case DeclaredKind::kText:
    case DeclaredKind::kOther:
      break;
  }
  return ByStorageClass(value, storage, out);
}

}  // namespace quellor::tagdll
