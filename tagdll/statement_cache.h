// Prepared statements kept for the life of an attachment, one per SQL text as prepared. A
// text whose cached statement an open query context still uses gets a fresh statement, which
// then joins the cache too.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/status.h"
#include "tagdll/column_value.h"
#include "tagdll/sqlite_handles.h"

namespace quellor::tagdll {

// A statement's result columns as last read: a statement used again is compiled afresh by its
// first step when the schema changed meanwhile, and may then have other columns.
struct StatementColumns {
  std::vector<std::string> names;   // UTF-8, as SQLite names the columns
  std::vector<DeclaredKind> kinds;  // their declared types
  int compilations = -1;            // the statement's recompilations when they were read
};

struct CachedStatement {
  StatementPtr statement;
  bool in_use = false;
  StatementColumns columns;
};

class StatementCache final {
 public:
  StatementCache() = default;
  StatementCache(const StatementCache&) = delete;
  StatementCache& operator=(const StatementCache&) = delete;

  // A statement for `sql` marked in use; it stays owned by the cache. Fails with SQLite's
  // message when the text does not prepare, or holds more than one statement.
  Result<CachedStatement*> Acquire(sqlite3* connection, const std::string& sql);
  // Resets the statement, so that the next Acquire of the same text can take it. Its
  // parameters keep their values: whoever takes it next binds them anew.
  static void Return(CachedStatement* entry);

 private:
  using Entries = std::unordered_map<std::string, std::vector<std::unique_ptr<CachedStatement>>>;
  Entries entries_;
  // The text acquired last: a query prepared once per tag finds it again without hashing a
  // long text each time (an entry stays where it is while the map grows).
  Entries::value_type* last_ = nullptr;
};

}  // namespace quellor::tagdll
