// The database half of the project generators: a project database made from the project
// schema, set up by a script, then filled with trend rows (and their tags) in one transaction.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace quellor::bench {

// Ends the process with a message on standard error: a generator that cannot write its
// project has nothing else to do. `db` may be null.
[[noreturn]] void Die(sqlite3* db, const char* what);

// One row of TrendData; its tag goes into Tags on `block` the first time it appears.
struct TrendRow {
  std::string tag, field, subfield, fix, record_type;
  int field_code = 0, fix_code = 0;
  double lo = 0.0, hi = 100.0;
  std::string units = "units";
  int logged = 1, intouch = 1, historian = 1;
  std::int64_t block = 1;
};

class ProjectWriter final {
 public:
  // Creates the database at `path` (which must not exist) from the project schema; runs the
  // `setup_sql` and Add in one transaction, which the destructor commits.
  ProjectWriter(const std::filesystem::path& path, const std::string& setup_sql);
  ~ProjectWriter();
  ProjectWriter(const ProjectWriter&) = delete;
  ProjectWriter& operator=(const ProjectWriter&) = delete;

  void Add(const TrendRow& row);
  void Exec(const std::string& sql);
  std::int32_t rows() const { return seq_; }

 private:
  void Prepare(const char* sql, sqlite3_stmt** statement);
  void Step(sqlite3_stmt* statement);

  sqlite3* db_ = nullptr;
  sqlite3_stmt* trend_ = nullptr;
  sqlite3_stmt* tags_ = nullptr;
  std::int32_t seq_ = 0;
};

}  // namespace quellor::bench
