// The translation of one Access SQL text into one SQLite statement.
//
// The saved queries the text reads from become common table expressions in front of it,
// in dependency order (each before the queries that read it): an SQLite-text one as it stands
// (its ?1, ?2 are the statement's), an Access one translated in turn. Parameters are
// positional: the text's own (declared, then used), then each new one of the saved queries
// it reads, met outermost first; a saved query's parameter of a name the text already has
// takes that position. A saved query that reads itself, directly or not, is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "tagdll/sql/catalog.h"
#include "tagdll/sql/tree.h"

namespace quellor::tagdll::sql {

struct Translation {
  std::string sql;
  std::vector<OutputColumn> columns;    // empty for an insert
  std::vector<std::string> parameters;  // by position: parameters[0] is ?1
  // The rows of every saved query it reads, as they were when it was translated.
  std::vector<SavedQueryDefinition> saved_queries;
  // A crosstab that read its headings from the data: valid for this prepare only.
  bool data_dependent = false;
};

enum class TextOrigin {
  kProgram,     // the program's own text: a name that is no column is an error
  kSavedQuery,  // a saved query: such a name is a parameter
};

// `name`: the saved query being translated (so that reading itself is a cycle), or empty.
Result<Translation> TranslateAccessSql(std::string_view access_sql, TextOrigin origin,
                                       std::string_view name, Catalog& catalog);

// A saved query's SQLite text without the semicolons and blanks that may end it.
std::string_view StripStatementEnd(std::string_view sql);

}  // namespace quellor::tagdll::sql
