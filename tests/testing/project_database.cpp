#include "testing/project_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "projectdb/project_query.h"
#include "testing/run_binary.h"

namespace quellor::testing {
namespace {

sqlite3* OpenOrDie(const std::filesystem::path& path) {
  sqlite3* connection = nullptr;
  if (sqlite3_open(path.c_str(), &connection) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << path;
  }
  return connection;
}

}  // namespace

std::string ProjectSchemaSql() { return ReadFile(QUELLOR_SCHEMA_SQL); }

void CreateProjectDatabase(const std::filesystem::path& path, const std::string& extra_sql) {
  RunSql(path, ProjectSchemaSql() + extra_sql);
}

void RunSql(const std::filesystem::path& path, const std::string& sql) {
  sqlite3* const connection = OpenOrDie(path);
  char* error = nullptr;
  if (sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    ADD_FAILURE() << "SQL failed: " << (error != nullptr ? error : "?") << "\n" << sql;
  }
  sqlite3_free(error);
  sqlite3_close(connection);
}

std::string QueryOne(const std::filesystem::path& path, const std::string& sql) {
  sqlite3* const connection = OpenOrDie(path);
  sqlite3_stmt* statement = nullptr;
  std::string value = "<no row>";
  if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sqlite3_errmsg(connection);
  } else if (sqlite3_step(statement) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    value = text != nullptr ? text : "NULL";
  }
  sqlite3_finalize(statement);
  sqlite3_close(connection);
  return value;
}

AttachedProject::AttachedProject(const std::string& extra_sql)
    : db_path_(dir_.path() / "Project.mdb") {
  CreateProjectDatabase(db_path_, extra_sql);
  ResetTagDll(BinaryPath("libtagdll.so").string());
  EXPECT_EQ(TagDll().AttachProjectDb(db_path_.c_str()), 0) << "cannot attach " << db_path_;
}

AttachedProject::~AttachedProject() {
  TagDll().ReleaseProjectDb();
  ResetTagDll();
}

}  // namespace quellor::testing
