// The import of an Access file into a new SQLite project database: every user table with its
// exact name, its columns in order (access_type.h), its rows, primary key and indexes
// (table_schema.h); tables linked from other Access files from those files (linked_tables.h);
// and the visible saved queries, decoded into Access SQL, into the table SavedQueries:
//
//   CREATE TABLE SavedQueries (
//     Name TEXT COLLATE NOCASE PRIMARY KEY,
//     Sql TEXT,          -- SQLite SQL, used as it stands (NULL for imported queries)
//     AccessSql TEXT,    -- Access SQL, translated by the library when prepared
//     Parameters TEXT,   -- parameter names in position order, one per line, or NULL
//     CHECK (Sql IS NOT NULL OR AccessSql IS NOT NULL));
//
// Parameters holds every parameter of the query in the positions the library binds them
// (saved_query_parameters.h); for a query the library's translator refuses, only the
// declared ones, with a warning. A saved query that cannot be decoded is left out with a
// warning; anything else that goes wrong fails the import.
#pragma once

#include <functional>
#include <string>

#include "base/status.h"

namespace quellor::tagdll::access {

struct ImportOptions {
  // The SQLite file as messages name it, when it is written under another name.
  std::string shown_sqlite_path;
  // Each receives one line without its line end. Progress comes at each table, every 10000
  // rows and at the saved queries.
  std::function<void(const std::string&)> progress;
  std::function<void(const std::string&)> warning;
  // Hears, for each saved query, whether the library's translator takes it.
  std::function<void(const std::string& name, const Status& translation)> translated;
};

inline constexpr int kRowsPerProgressLine = 10000;

// Imports `access_path` into a new database at `sqlite_path` (a file that does not exist
// yet). Failures are one line: "the Access file PATH cannot be read: REASON" or "the SQLite
// file PATH cannot be written: REASON". On failure the SQLite file may hold part of the
// import; the caller removes it.
Status ImportAccessFile(const std::string& access_path, const std::string& sqlite_path,
                        const ImportOptions& options);

// Whether a failure of ImportAccessFile is the SQLite file's ("cannot be written").
bool IsSqliteFileFailure(const Status& status);

}  // namespace quellor::tagdll::access
