// The SQLite database an import writes: created new, filled in one transaction through
// prepared statements. Its journal and syncs are off while it fills: the file is a temporary
// one that replaces its target only once it is complete and synced (quellor-import does
// that), so a failed import leaves nothing to recover.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/status.h"
#include "tagdll/access/field_value.h"
#include "tagdll/sqlite_handles.h"

namespace quellor::tagdll::access {

// Failures of the target start so: "the SQLite file PATH cannot be written: REASON".
inline constexpr std::string_view kSqliteFailurePrefix = "the SQLite file ";

// A statement the content makes fail (a broken key or check, a name given twice) fails with
// kInvalidArgument and SQLite's reason alone, as the content is at fault; any other failure
// is the file's: "the SQLite file PATH cannot be written: REASON".
class SqliteTarget final {
 public:
  // Creates the database file at `host_path` and begins the transaction; messages name the
  // file `shown_path`.
  static Result<std::unique_ptr<SqliteTarget>> Create(const std::string& host_path,
                                                      const std::string& shown_path);

  Status Execute(const std::string& sql);
  Result<StatementPtr> Prepare(const std::string& sql);
  // Binds values[positions[0]] to ?1, values[positions[1]] to ?2, ... and runs the statement.
  Status Insert(sqlite3_stmt* statement, std::span<const FieldValue> values,
                std::span<const std::size_t> positions);
  // Commits the transaction and closes the database.
  Status Finish();
  // The connection, for work on what was written before Finish.
  sqlite3* connection() const { return connection_.get(); }

 private:
  SqliteTarget(std::string shown_path, ConnectionPtr connection)
      : shown_path_(std::move(shown_path)), connection_(std::move(connection)) {}
  Status Failed() const;

  std::string shown_path_;
  ConnectionPtr connection_;
};

}  // namespace quellor::tagdll::access
