#include "tagdll/access/saved_query_parameters.h"

#include <utility>
#include <vector>

#include "tagdll/sql/access_functions.h"
#include "tagdll/sql/sqlite_catalog.h"
#include "tagdll/sql/translator.h"
#include "tagdll/sqlite_handles.h"

namespace quellor::tagdll::access {
namespace {

Status Failed(sqlite3* connection) {
  return Status::IoError(std::string("SavedQueries: ") + sqlite3_errmsg(connection));
}

Result<StatementPtr> Prepare(sqlite3* connection, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(connection, sql, -1, &statement, nullptr) != SQLITE_OK) {
    return Failed(connection);
  }
  return StatementPtr(statement);
}

// The names of the queries that hold Access SQL, in the table's order.
Result<std::vector<std::string>> AccessQueryNames(sqlite3* connection) {
  Result<StatementPtr> select =
      Prepare(connection, "SELECT Name FROM SavedQueries WHERE AccessSql IS NOT NULL");
  if (!select.ok()) return select.status();
  std::vector<std::string> names;
  int rc;
  while ((rc = sqlite3_step(select->get())) == SQLITE_ROW) {
    names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(select->get(), 0)));
  }
  if (rc != SQLITE_DONE) return Failed(connection);
  return names;
}

std::string Lines(const std::vector<std::string>& names) {
  std::string lines;
  for (const std::string& name : names) lines += (lines.empty() ? "" : "\n") + name;
  return lines;
}

}  // namespace

Status NumberSavedQueryParameters(sqlite3* connection, const TranslationVerdict& verdict) {
  if (sql::RegisterAccessFunctions(connection) != SQLITE_OK) return Failed(connection);
  Result<std::vector<std::string>> names = AccessQueryNames(connection);
  if (!names.ok()) return names.status();
  Result<StatementPtr> update =
      Prepare(connection, "UPDATE SavedQueries SET Parameters = ?1 WHERE Name = ?2");
  if (!update.ok()) return update.status();
  sql::SqliteCatalog catalog(connection);
  for (const std::string& name : *names) {
    Result<std::optional<sql::SavedQueryDefinition>> row = catalog.FindSavedQuery(name);
    if (!row.ok()) return row.status();
    Result<sql::Translation> translation =
        sql::TranslateAccessSql(*(*row)->access_sql, sql::TextOrigin::kSavedQuery, name, catalog);
    if (verdict) verdict(name, translation.status());
    if (!translation.ok()) continue;
    const std::string parameters = Lines(translation->parameters);
    sqlite3_stmt* const statement = update->get();
    sqlite3_reset(statement);
    if (parameters.empty()) {
      sqlite3_bind_null(statement, 1);
    } else {
      sqlite3_bind_text(statement, 1, parameters.data(), static_cast<int>(parameters.size()),
                        SQLITE_TRANSIENT);
    }
    sqlite3_bind_text(statement, 2, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(statement) != SQLITE_DONE) return Failed(connection);
  }
  return Status::Ok();
}

}  // namespace quellor::tagdll::access
