#include "project_writer.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quellor::bench {

namespace {

std::string SchemaSql() {
  std::ifstream in(QUELLOR_SCHEMA_SQL, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (text.str().empty()) Die(nullptr, "cannot read " QUELLOR_SCHEMA_SQL);
  return text.str();
}

}  // namespace

void Die(sqlite3* db, const char* what) {
  std::fprintf(stderr, "project generator: %s: %s\n", what, db ? sqlite3_errmsg(db) : "");
  std::exit(2);
}

ProjectWriter::ProjectWriter(const std::filesystem::path& path, const std::string& setup_sql) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    Die(db_, "open");
  }
  // One transaction for everything: a commit per statement would sync the disk each time.
  Exec("BEGIN;" + SchemaSql() + setup_sql);
  Prepare(
      "INSERT INTO TrendData VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, "
      "?14, ?15)",
      &trend_);
  Prepare("INSERT OR IGNORE INTO Tags VALUES (?1, ?2)", &tags_);
}

ProjectWriter::~ProjectWriter() {
  Exec("COMMIT;");
  sqlite3_finalize(trend_);
  sqlite3_finalize(tags_);
  sqlite3_close(db_);
}

void ProjectWriter::Add(const TrendRow& row) {
  const std::string desc = "Description of " + row.tag + " " + row.field + row.subfield + row.fix;
  sqlite3_bind_text(trend_, 1, row.tag.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(trend_, 2, row.field.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(trend_, 3, row.subfield.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(trend_, 4, row.fix.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(trend_, 5, row.record_type.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int(trend_, 6, row.field_code);
  sqlite3_bind_int(trend_, 7, row.fix_code);
  sqlite3_bind_text(trend_, 8, desc.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(trend_, 9, row.units.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_double(trend_, 10, row.hi);
  sqlite3_bind_double(trend_, 11, row.lo);
  sqlite3_bind_int(trend_, 12, row.logged);
  sqlite3_bind_int(trend_, 13, row.intouch);
  sqlite3_bind_int(trend_, 14, row.historian);
  sqlite3_bind_int(trend_, 15, ++seq_);
  Step(trend_);
  sqlite3_bind_text(tags_, 1, row.tag.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int64(tags_, 2, row.block);
  Step(tags_);
}

void ProjectWriter::Exec(const std::string& sql) {
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Die(db_, "exec");
}

void ProjectWriter::Prepare(const char* sql, sqlite3_stmt** statement) {
  if (sqlite3_prepare_v2(db_, sql, -1, statement, nullptr) != SQLITE_OK) Die(db_, "prepare");
}

void ProjectWriter::Step(sqlite3_stmt* statement) {
  if (sqlite3_step(statement) != SQLITE_DONE) Die(db_, "insert");
  sqlite3_reset(statement);
}

}  // namespace quellor::bench
