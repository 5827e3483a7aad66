// The parser of Access SQL: one statement (a select, a union, a crosstab or an insert, with
// an optional PARAMETERS clause and a final ";") into its tree. Operators bind as in Access,
// loosest first: Xor, Or, And, Not, the comparisons (= <> < > <= >= Like Between In Is), &,
// + -, Mod, \, * /, unary -, ^.
//
// Fails with kInvalidArgument and a line saying where ("syntax error at 'x': expected FROM"),
// or kUnsupported for a statement Access has that is not carried here (UPDATE, DELETE,
// make-table, a source in another database, Eqv and Imp).
#pragma once

#include <string_view>

#include "base/status.h"
#include "tagdll/sql/tree.h"

namespace quellor::tagdll::sql {

Result<Statement> ParseStatement(std::string_view access_sql);

}  // namespace quellor::tagdll::sql
