#include "tagdll/sql/sqlite_catalog.h"

#include "base/ascii.h"
#include "tagdll/sql/emitter.h"
#include "tagdll/sql/type_rules.h"
#include "tagdll/sqlite_handles.h"

namespace quellor::tagdll::sql {
namespace {

constexpr char kFindTable[] =
    "SELECT name, type FROM sqlite_schema WHERE type IN ('table', 'view') "
    "AND name = ?1 COLLATE NOCASE ORDER BY name = ?1 DESC LIMIT 1";
// The table as it is now, and as it was before it gained AccessSql and Parameters.
constexpr char kFindSavedQuery[] =
    "SELECT Name, Sql, AccessSql FROM SavedQueries WHERE Name = ?1 COLLATE NOCASE";
constexpr char kFindOldSavedQuery[] =
    "SELECT Name, Sql, NULL FROM SavedQueries WHERE Name = ?1 COLLATE NOCASE";

Result<StatementPtr> Prepare(sqlite3* connection, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int rc =
      sqlite3_prepare_v2(connection, sql.c_str(), static_cast<int>(sql.size()) + 1, &raw, &tail);
  StatementPtr statement(raw);
  if (rc != SQLITE_OK) return Status::InvalidArgument(sqlite3_errmsg(connection));
  if (statement == nullptr) return Status::InvalidArgument("the SQL text holds no statement");
  if (tail != nullptr && !TrimAscii(tail).empty()) {
    return Status::InvalidArgument("the SQL text holds more than one statement");
  }
  return statement;
}

// Resets a cached statement whatever way its use ends.
class ResetOnExit final {
 public:
  explicit ResetOnExit(sqlite3_stmt* statement) : statement_(statement) {}
  ~ResetOnExit() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }
  ResetOnExit(const ResetOnExit&) = delete;
  ResetOnExit& operator=(const ResetOnExit&) = delete;

 private:
  sqlite3_stmt* const statement_;
};

std::optional<std::string> ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  if (text == nullptr) return std::nullopt;
  return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

bool HasNocaseOrigin(sqlite3* connection, sqlite3_stmt* statement, int column) {
  const char* database = sqlite3_column_database_name(statement, column);
  const char* table = sqlite3_column_table_name(statement, column);
  const char* origin = sqlite3_column_origin_name(statement, column);
  if (database == nullptr || table == nullptr || origin == nullptr) return false;
  const char* collation = nullptr;
  if (sqlite3_table_column_metadata(connection, database, table, origin, nullptr, &collation,
                                    nullptr, nullptr, nullptr) != SQLITE_OK) {
    return false;
  }
  return collation != nullptr && EqualsIgnoreCase(collation, "NOCASE");
}

// The columns of a table's primary key, in the key's order.
Result<std::vector<std::string>> PrimaryKeyOf(sqlite3* connection, const std::string& table) {
  Result<StatementPtr> prepared =
      Prepare(connection, "SELECT name FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk");
  if (!prepared.ok()) return prepared.status();
  sqlite3_stmt* const statement = prepared->get();
  sqlite3_bind_text(statement, 1, table.c_str(), static_cast<int>(table.size()), SQLITE_STATIC);
  std::vector<std::string> columns;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    columns.push_back(ColumnText(statement, 0).value_or(""));
  }
  if (rc != SQLITE_DONE) return Status::IoError(sqlite3_errmsg(connection));
  return columns;
}

}  // namespace

struct SqliteCatalog::Statements {
  StatementPtr find_table;
  StatementPtr find_saved_query;  // null until SavedQueries is found
};

SqliteCatalog::SqliteCatalog(sqlite3* connection)
    : connection_(connection), statements_(std::make_unique<Statements>()) {}

SqliteCatalog::~SqliteCatalog() = default;

Result<std::optional<TableInfo>> SqliteCatalog::FindTable(std::string_view name) {
  if (statements_->find_table == nullptr) {
    Result<StatementPtr> prepared = Prepare(connection_, kFindTable);
    if (!prepared.ok()) return prepared.status();
    statements_->find_table = std::move(prepared).value();
  }
  sqlite3_stmt* const statement = statements_->find_table.get();
  TableInfo table;
  bool is_table = false;
  {
    const ResetOnExit reset(statement);
    sqlite3_bind_text(statement, 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) return std::optional<TableInfo>();
    if (rc != SQLITE_ROW) return Status::IoError(sqlite3_errmsg(connection_));
    table.name = ColumnText(statement, 0).value_or("");
    is_table = ColumnText(statement, 1) == "table";
  }
  Result<std::vector<OutputColumn>> columns = DescribeSql("SELECT * FROM " + QuoteName(table.name));
  if (!columns.ok()) return columns.status();
  table.columns = std::move(columns).value();
  table.has_rowid = is_table && sqlite3_table_column_metadata(
                                    connection_, "main", table.name.c_str(), "rowid", nullptr,
                                    nullptr, nullptr, nullptr, nullptr) == SQLITE_OK;
  if (is_table && !table.has_rowid) {
    Result<std::vector<std::string>> key = PrimaryKeyOf(connection_, table.name);
    if (!key.ok()) return key.status();
    table.primary_key = std::move(key).value();
  }
  return std::optional<TableInfo>(std::move(table));
}

Result<std::optional<SavedQueryDefinition>> SqliteCatalog::FindSavedQuery(std::string_view name) {
  // The table may have changed shape since the look-up was prepared (a project whose
  // SavedQueries was made again): then it is prepared again, once.
  for (int attempt = 0;; ++attempt) {
    if (statements_->find_saved_query == nullptr) {
      Result<StatementPtr> prepared = Prepare(connection_, kFindSavedQuery);
      if (!prepared.ok()) prepared = Prepare(connection_, kFindOldSavedQuery);
      if (!prepared.ok()) return std::optional<SavedQueryDefinition>();  // no saved queries
      statements_->find_saved_query = std::move(prepared).value();
    }
    Result<std::optional<SavedQueryDefinition>> found = LookUpSavedQuery(name);
    if (found.ok() || attempt == 1) return found;
    statements_->find_saved_query.reset();
  }
}

Result<std::optional<SavedQueryDefinition>> SqliteCatalog::LookUpSavedQuery(std::string_view name) {
  sqlite3_stmt* const statement = statements_->find_saved_query.get();
  const ResetOnExit reset(statement);
  sqlite3_bind_text(statement, 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_DONE) return std::optional<SavedQueryDefinition>();
  if (rc != SQLITE_ROW) return Status::IoError(sqlite3_errmsg(connection_));
  SavedQueryDefinition definition;
  definition.name = ColumnText(statement, 0).value_or(std::string(name));
  definition.sql = ColumnText(statement, 1);
  definition.access_sql = ColumnText(statement, 2);
  return std::optional<SavedQueryDefinition>(std::move(definition));
}

Result<std::vector<OutputColumn>> SqliteCatalog::DescribeSql(const std::string& sql) {
  Result<StatementPtr> prepared = Prepare(connection_, sql);
  if (!prepared.ok()) return prepared.status();
  sqlite3_stmt* const statement = prepared->get();
  std::vector<OutputColumn> columns;
  for (int i = 0; i < sqlite3_column_count(statement); ++i) {
    const char* name = sqlite3_column_name(statement, i);
    const char* declared = sqlite3_column_decltype(statement, i);
    columns.push_back(
        OutputColumn{name != nullptr ? name : "",
                     declared != nullptr ? SqlTypeFromDeclared(declared) : SqlType::kVariant,
                     HasNocaseOrigin(connection_, statement, i)});
  }
  return columns;
}

Result<std::vector<ScalarValue>> SqliteCatalog::ReadColumn(const std::string& sql) {
  Result<StatementPtr> prepared = Prepare(connection_, sql);
  if (!prepared.ok()) return prepared.status();
  sqlite3_stmt* const statement = prepared->get();
  if (binder_) {
    if (Status status = binder_(statement); !status.ok()) return status;
  }
  std::vector<ScalarValue> values;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    ScalarValue value;
    switch (sqlite3_column_type(statement, 0)) {
      case SQLITE_INTEGER:
        value.kind = ScalarValue::Kind::kInteger;
        value.integer = sqlite3_column_int64(statement, 0);
        break;
      case SQLITE_FLOAT:
        value.kind = ScalarValue::Kind::kReal;
        value.real = sqlite3_column_double(statement, 0);
        break;
      case SQLITE_NULL:
        break;
      default:
        value.kind = ScalarValue::Kind::kText;
        value.text = ColumnText(statement, 0).value_or("");
        break;
    }
    values.push_back(std::move(value));
  }
  if (rc != SQLITE_DONE) return Status::IoError(sqlite3_errmsg(connection_));
  return values;
}

}  // namespace quellor::tagdll::sql
