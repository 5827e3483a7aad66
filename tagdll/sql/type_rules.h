// How Access types its values: the type of a declared column, of a PARAMETERS declaration,
// and of the results of its operators.
#pragma once

#include <optional>
#include <string_view>

#include "tagdll/sql/sql_type.h"

namespace quellor::tagdll::sql {

bool IsNumeric(SqlType type);   // Boolean (as -1 and 0) to Decimal
bool IsNumber(SqlType type);    // Byte to Decimal: the numeric types without Boolean
bool IsInteger(SqlType type);   // Byte, Integer, Long
bool IsTextual(SqlType type);   // Text, or a GUID held as its text
bool IsTextLike(SqlType type);  // Textual, or a Variant that may hold text

// The type of an SQLite column by its declared type, by the library's rules for variants
// (BOOL/BIT/YESNO, SMALLINT/INT2/SHORT, any other INT, REAL/DOUBLE/FLOAT, TEXT/CHAR/CLOB/MEMO)
// plus DATE/TIME, BLOB and GUID. No declared type, or another, is kVariant.
SqlType SqlTypeFromDeclared(std::string_view declared);

// The type of a PARAMETERS declaration (Bit, Byte, Short, Long, Single, Double, Currency,
// DateTime, Text, Memo, Binary, Guid, Decimal, Value and their synonyms); nullopt when Access
// has no such type.
std::optional<SqlType> SqlTypeFromJetName(std::string_view name);

// The type of + - * over two numeric types (Boolean counts as Integer): the wider of the two,
// a Single with a Long widening to Double, Currency with Single or Double giving Double.
SqlType WiderNumeric(SqlType a, SqlType b);

// The type Access gives a value that is either of two types (IIf's branches, a column of a
// union): the same type, the wider numeric type, the other type beside Null, else kVariant.
SqlType UnifyTypes(SqlType a, SqlType b);

}  // namespace quellor::tagdll::sql
