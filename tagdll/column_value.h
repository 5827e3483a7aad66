// A column of the current row as a variant, chosen by the column's declared type:
//
//   declared type (SQLite's affinity rules)    stored value            variant
//   contains BOOL, BIT or YESNO                INTEGER                 VT_BOOL (-1 or 0)
//   SMALLINT, INT2, SHORT                      INTEGER within 16 bits  VT_I2
//   any other containing INT                   INTEGER within 32 bits  VT_I4
//   REAL, DOUBLE, FLOAT                        INTEGER or REAL         VT_R8
//   TEXT, CHAR, CLOB, MEMO                     TEXT                    VT_BSTR (Windows-1252)
//   any                                        NULL                    VT_NULL
//
// A column without a declared type (an expression), or a value that does not fit its declared
// type, goes by its storage class: INTEGER VT_I4 (VT_R8 beyond 32 bits), REAL VT_R8, TEXT
// VT_BSTR, BLOB VT_BSTR of its bytes.
//
// A column of a translated Access query goes by the Access type of its expression instead
// (KindOfSqlType): Yes/No as VT_BOOL, Byte and Integer VT_I2, Long VT_I4, Single, Double,
// Currency and Decimal VT_R8, Text and GUID VT_BSTR, others by storage class.
#pragma once

#include <sqlite3.h>

#include <string_view>

#include "platform/automation/variant.h"
#include "tagdll/sql/sql_type.h"

namespace quellor::tagdll {

enum class DeclaredKind { kBoolean, kInt16, kInt32, kDouble, kText, kOther };

// Null or empty declared types are kOther.
DeclaredKind ClassifyDeclaredType(const char* declared_type);
DeclaredKind KindOfSqlType(sql::SqlType type);

// Sets `out` (cleared first) to the column's value; false when memory runs out.
bool ColumnToVariant(sqlite3_stmt* statement, int column, VARIANT* out);
// The same for a column whose declared type is already classified: a statement's declared
// types stay as they are, so a query classifies them once rather than once per row.
bool ColumnToVariant(sqlite3_stmt* statement, int column, DeclaredKind kind, VARIANT* out);

}  // namespace quellor::tagdll
