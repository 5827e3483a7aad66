// What the translator asks of the database it translates for: its tables, its saved queries,
// the columns of an SQLite text, and the values of a column (the headings of a crosstab read
// from the data).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "tagdll/sql/tree.h"

namespace quellor::tagdll::sql {

struct TableInfo {
  std::string name;  // as the database spells it
  std::vector<OutputColumn> columns;
  bool has_rowid = false;
  std::vector<std::string> primary_key;  // its columns, for a table WITHOUT ROWID
};

// A row of SavedQueries: SQLite SQL used as it stands, or Access SQL to translate.
struct SavedQueryDefinition {
  std::string name;  // as the database spells it
  std::optional<std::string> sql;
  std::optional<std::string> access_sql;
};

// A value read from the database, with SQLite's storage class.
struct ScalarValue {
  enum class Kind { kNull, kInteger, kReal, kText };
  Kind kind = Kind::kNull;
  long long integer = 0;
  double real = 0;
  std::string text;
};

class Catalog {
 public:
  virtual ~Catalog() = default;

  // The table (or view) of that name, without regard to case; nullopt when there is none.
  virtual Result<std::optional<TableInfo>> FindTable(std::string_view name) = 0;
  // The saved query of that name, without regard to case; nullopt when there is none.
  virtual Result<std::optional<SavedQueryDefinition>> FindSavedQuery(std::string_view name) = 0;
  // The result columns of an SQLite query text; fails with SQLite's message when it does not
  // prepare.
  virtual Result<std::vector<OutputColumn>> DescribeSql(const std::string& sql) = 0;
  // The first column of every row of an SQLite query text, its parameters bound as the query
  // being prepared binds them.
  virtual Result<std::vector<ScalarValue>> ReadColumn(const std::string& sql) = 0;
};

}  // namespace quellor::tagdll::sql
