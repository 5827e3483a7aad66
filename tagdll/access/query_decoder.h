// A saved query's rows of MSysQueries (query_rows.h) decoded into the Access SQL text the
// query stands for, as Access shows it in SQL view: clauses on lines of their own (CR LF),
// names in brackets where Access puts them, expressions exactly as stored, a closing ";".
//
// Flags of the select-flags row (attribute 3): 0x01 all columns (*), 0x02 DISTINCT, 0x04
// WITH OWNERACCESS OPTION, 0x08 DISTINCTROW, 0x10 TOP (the count in Name1), 0x20 PERCENT; in
// a union query 0x02 makes the union distinct (UNION rather than UNION ALL). The two parts
// of a union are the Expressions of the source rows named X7YZ_____1 and X7YZ_____2. In a
// crosstab query the role (Flag) of a column or GROUP BY row is 0 for the TRANSFORM value,
// 1 for the PIVOT heading, 2 for a row heading. In an append query a column whose Flag has
// bit 0x8000 is a value of INSERT ... VALUES, and Name2 names a column's target.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "tagdll/access/query_rows.h"

namespace quellor::tagdll::access {

enum class QueryType {
  kSelect,
  kMakeTable,
  kAppend,
  kUpdate,
  kDelete,
  kCrosstab,
  kDataDefinition,
  kPassThrough,
  kUnion,
};

// "select", "make-table", "append", "update", "delete", "crosstab", "data-definition",
// "pass-through", "union".
std::string_view QueryTypeName(QueryType type);

struct DecodedQuery {
  QueryType type = QueryType::kSelect;
  std::string access_sql;
  // The declared parameters' names in declaration order, as the file stores them: without
  // brackets, the parts of a bang path joined by "!".
  std::vector<std::string> parameters;
};

// Fails (kCorruption, or kUnsupported for a pass-through query, whose text is another
// server's SQL) with a reason naming what is wrong.
Result<DecodedQuery> DecodeSavedQuery(const SavedQueryRows& query);

}  // namespace quellor::tagdll::access
