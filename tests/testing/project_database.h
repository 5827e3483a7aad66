// Real SQLite project databases for tests: made from the project schema in a temporary
// folder, filled with SQL, and attached through the run's binding as the program attaches.
#pragma once

#include <filesystem>
#include <string>

#include "testing/temp_dir.h"

namespace quellor::testing {

// Creates a database at `path` from the project schema, then runs `extra_sql` (UTF-8) on it.
void CreateProjectDatabase(const std::filesystem::path& path, const std::string& extra_sql = "");
// Runs SQL on the database through a connection of the test's own.
void RunSql(const std::filesystem::path& path, const std::string& sql);
// One value of the database as the test sees it, e.g. "7" or "x" or "NULL"; "<no row>".
std::string QueryOne(const std::filesystem::path& path, const std::string& sql);
// The project schema's SQL text.
std::string ProjectSchemaSql();

// A project database in its own temporary folder, attached through the run's binding
// (TagDll(), bound to the built libtagdll.so) for the object's life.
class AttachedProject final {
 public:
  explicit AttachedProject(const std::string& extra_sql = "");
  ~AttachedProject();
  AttachedProject(const AttachedProject&) = delete;
  AttachedProject& operator=(const AttachedProject&) = delete;

  const TempDir& dir() const { return dir_; }
  const std::filesystem::path& db_path() const { return db_path_; }
  void Run(const std::string& sql) const { RunSql(db_path_, sql); }

 private:
  TempDir dir_;
  std::filesystem::path db_path_;
};

}  // namespace quellor::testing
