// The Access SQL translator of the project-database library: any text, translated over a
// project database (the project's tables, a table shaped like an order's lines, one saved
// query in SQLite SQL and one in Access SQL). A text that translates must translate again to
// the same SQLite text, that text must prepare, and the statement must have the columns the
// translation names, in order.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "tagdll/sql/access_functions.h"
#include "tagdll/sql/sqlite_catalog.h"
#include "tagdll/sql/translator.h"
#include "tagdll/sqlite_handles.h"

namespace {

namespace sql = quellor::tagdll::sql;

constexpr char kExtraSchema[] = R"(
  CREATE TABLE "Order Details" (OrderID INTEGER, ProductID INTEGER, UnitPrice DOUBLE,
                                Quantity SMALLINT, Discount DOUBLE, Shipped DATETIME,
                                Note TEXT COLLATE NOCASE, Done BOOLEAN);
  INSERT INTO SavedQueries (Name, AccessSql) VALUES ('qLines',
    'SELECT OrderID, Sum(UnitPrice*Quantity) AS Total FROM [Order Details] GROUP BY OrderID');
)";

sqlite3* Database() {
  static sqlite3* const database = [] {
    sqlite3* opened = nullptr;
    sqlite3_open(":memory:", &opened);
    sql::RegisterAccessFunctions(opened);
    std::ifstream schema(QUELLOR_SCHEMA_SQL);
    std::stringstream text;
    text << schema.rdbuf() << kExtraSchema;
    quellor::fuzz::Check(
        sqlite3_exec(opened, text.str().c_str(), nullptr, nullptr, nullptr) == SQLITE_OK,
        "the project schema loads");
    return opened;
  }();
  return database;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quellor::fuzz::Check;
  const std::string_view access_sql(reinterpret_cast<const char*>(data), size);
  sqlite3* const database = Database();
  sql::SqliteCatalog catalog(database);
  const auto translation =
      sql::TranslateAccessSql(access_sql, sql::TextOrigin::kSavedQuery, "", catalog);
  if (!translation.ok()) return 0;

  const auto again = sql::TranslateAccessSql(access_sql, sql::TextOrigin::kSavedQuery, "", catalog);
  Check(again.ok() && again->sql == translation->sql, "a text translates the same way twice");

  sqlite3_stmt* raw = nullptr;
  const int rc = sqlite3_prepare_v2(database, translation->sql.c_str(),
                                    static_cast<int>(translation->sql.size()), &raw, nullptr);
  const quellor::tagdll::StatementPtr statement(raw);
  // SQLite's parser gives up on deep nesting; the library then refuses the query with
  // SQLite's message, as it should.
  const std::string_view error = rc == SQLITE_OK ? "" : sqlite3_errmsg(database);
  if (error == "parser stack overflow") return 0;
  if (rc != SQLITE_OK) {  // what a finding needs to be read
    std::fprintf(stderr, "%s\n%s\n", translation->sql.c_str(), sqlite3_errmsg(database));
  }
  Check(rc == SQLITE_OK && statement != nullptr, "a translation prepares");
  if (sqlite3_stmt_readonly(raw) == 0) return 0;  // an insert has no columns
  const int columns = sqlite3_column_count(raw);
  Check(static_cast<std::size_t>(columns) == translation->columns.size(),
        "the statement has the columns the translation names");
  for (int i = 0; i < columns; ++i) {
    Check(translation->columns[i].name == sqlite3_column_name(raw, i),
          "each column has the name the translation gives it");
  }
  return 0;
}
