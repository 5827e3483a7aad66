#include "tagdll/translator_fixture.h"

#include <cstdio>
#include <cstdlib>

#include "tagdll/sample_orders.h"
#include "tagdll/sql/access_functions.h"
#include "testing/project_database.h"

namespace quellor::testing {
namespace {

void Bind(sqlite3_stmt* statement, const std::vector<std::string>& parameters) {
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    const std::string& value = parameters[i];
    const int index = static_cast<int>(i + 1);
    char* end = nullptr;
    const long long integer = std::strtoll(value.c_str(), &end, 10);
    if (value == "NULL") {
      sqlite3_bind_null(statement, index);
    } else if (!value.empty() && *end == '\0') {
      sqlite3_bind_int64(statement, index, integer);
    } else if (const double real = std::strtod(value.c_str(), &end); !value.empty() && *end == 0) {
      sqlite3_bind_double(statement, index, real);
    } else {
      sqlite3_bind_text(statement, index, value.c_str(), -1, SQLITE_TRANSIENT);
    }
  }
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
      return "NULL";
    case SQLITE_FLOAT: {
      char text[32];
      std::snprintf(text, sizeof text, "%.15g", sqlite3_column_double(statement, column));
      return text;
    }
    case SQLITE_BLOB:
      return "<blob>";
    default:
      return reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  }
}

}  // namespace

TranslatorFixture::TranslatorFixture() {
  OpenDatabase((dir_.path() / "orders.db").string());
  Exec("PRAGMA synchronous = OFF;" + ProjectSchemaSql() + kSampleOrdersSql);
}

void TranslatorFixture::OpenDatabase(const std::string& path) {
  catalog_.reset();
  sqlite3* raw = nullptr;
  sqlite3_open(path.c_str(), &raw);
  db_.reset(raw);
  tagdll::sql::RegisterAccessFunctions(raw);
  catalog_ = std::make_unique<tagdll::sql::SqliteCatalog>(raw);
}

Result<tagdll::sql::Translation> TranslatorFixture::Translate(std::string_view access_sql,
                                                              tagdll::sql::TextOrigin origin) {
  return tagdll::sql::TranslateAccessSql(access_sql, origin, "", *catalog_);
}

std::vector<std::string> TranslatorFixture::Rows(std::string_view access_sql,
                                                 const std::vector<std::string>& parameters) {
  const Result<tagdll::sql::Translation> translation = Translate(access_sql);
  if (!translation.ok()) return {"refused: " + translation.status().message()};
  return SqliteRows(translation->sql, parameters);
}

std::vector<std::string> TranslatorFixture::SqliteRows(const std::string& sql,
                                                       const std::vector<std::string>& parameters) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sqlite3_errmsg(db()) << "\n" << sql;
    return {};
  }
  const tagdll::StatementPtr statement(raw);
  Bind(raw, parameters);
  std::vector<std::string> rows;
  while (sqlite3_step(raw) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(raw); ++i) {
      row += (i == 0 ? "" : "|") + ColumnText(raw, i);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void TranslatorFixture::Exec(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    ADD_FAILURE() << (error != nullptr ? error : "?") << "\n" << sql;
  }
  sqlite3_free(error);
}

void TranslatorFixture::SaveAccessQuery(const std::string& name, const std::string& access_sql) {
  sqlite3_stmt* raw = nullptr;
  sqlite3_prepare_v2(db(), "INSERT OR REPLACE INTO SavedQueries (Name, AccessSql) VALUES (?1, ?2)",
                     -1, &raw, nullptr);
  const tagdll::StatementPtr statement(raw);
  sqlite3_bind_text(raw, 1, name.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(raw, 2, access_sql.c_str(), -1, SQLITE_TRANSIENT);
  EXPECT_EQ(sqlite3_step(raw), SQLITE_DONE) << sqlite3_errmsg(db());
}

}  // namespace quellor::testing
