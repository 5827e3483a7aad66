// Owners of SQLite's handles: a connection closes and a statement is finalized when its owner
// goes.
#pragma once

#include <sqlite3.h>

#include <memory>

namespace quellor::tagdll {

struct ConnectionCloser {
  void operator()(sqlite3* connection) const { sqlite3_close_v2(connection); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

using ConnectionPtr = std::unique_ptr<sqlite3, ConnectionCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

}  // namespace quellor::tagdll
