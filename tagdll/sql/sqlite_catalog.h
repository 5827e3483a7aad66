// The catalog of an SQLite project database: its tables and views (the declared types and
// collations of their columns), the rows of SavedQueries (with or without the columns
// AccessSql and Parameters; a database without the table has no saved queries).
#pragma once

#include <sqlite3.h>

#include <functional>
#include <memory>

#include "tagdll/sql/catalog.h"

namespace quellor::tagdll::sql {

class SqliteCatalog final : public Catalog {
 public:
  explicit SqliteCatalog(sqlite3* connection);
  ~SqliteCatalog() override;
  SqliteCatalog(const SqliteCatalog&) = delete;
  SqliteCatalog& operator=(const SqliteCatalog&) = delete;

  // Binds the parameters of the statements ReadColumn runs (those of the query being
  // prepared); none are bound until it is set.
  void set_parameter_binder(std::function<Status(sqlite3_stmt*)> binder) {
    binder_ = std::move(binder);
  }

  Result<std::optional<TableInfo>> FindTable(std::string_view name) override;
  Result<std::optional<SavedQueryDefinition>> FindSavedQuery(std::string_view name) override;
  Result<std::vector<OutputColumn>> DescribeSql(const std::string& sql) override;
  Result<std::vector<ScalarValue>> ReadColumn(const std::string& sql) override;

 private:
  struct Statements;

  // One step of the prepared look-up of SavedQueries.
  Result<std::optional<SavedQueryDefinition>> LookUpSavedQuery(std::string_view name);

  sqlite3* const connection_;
  std::unique_ptr<Statements> statements_;
  std::function<Status(sqlite3_stmt*)> binder_;
};

}  // namespace quellor::tagdll::sql
