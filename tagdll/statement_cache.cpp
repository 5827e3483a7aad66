#include "tagdll/statement_cache.h"

#include <string_view>

#include "base/ascii.h"

namespace quellor::tagdll {
namespace {

// Only blanks and semicolons may follow the one statement of a text.
bool IsEmptyTail(std::string_view tail) {
  for (const char c : tail) {
    if (!IsAsciiSpace(c) && c != ';') return false;
  }
  return true;
}

Result<StatementPtr> Prepare(sqlite3* connection, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v3(connection, sql.c_str(), static_cast<int>(sql.size()) + 1,
                                    SQLITE_PREPARE_PERSISTENT, &raw, &tail);
  StatementPtr statement(raw);
  if (rc != SQLITE_OK) return Status::InvalidArgument(sqlite3_errmsg(connection));
  if (statement == nullptr) return Status::InvalidArgument("the SQL text holds no statement");
  if (tail != nullptr && !IsEmptyTail(tail)) {
    return Status::InvalidArgument("the SQL text holds more than one statement");
  }
  return statement;
}

}  // namespace

Result<CachedStatement*> StatementCache::Acquire(sqlite3* connection, const std::string& sql) {
  if (last_ == nullptr || last_->first != sql) last_ = &*entries_.try_emplace(sql).first;
  std::vector<std::unique_ptr<CachedStatement>>& statements = last_->second;
  for (const std::unique_ptr<CachedStatement>& entry : statements) {
    if (!entry->in_use) {
      entry->in_use = true;
      return entry.get();
    }
  }
  Result<StatementPtr> prepared = Prepare(connection, sql);
  if (!prepared.ok()) {
    if (statements.empty()) {
      last_ = nullptr;
      entries_.erase(sql);
    }
    return prepared.status();
  }
  statements.push_back(std::make_unique<CachedStatement>());
  statements.back()->statement = std::move(prepared).value();
  statements.back()->in_use = true;
  return statements.back().get();
}

void StatementCache::Return(CachedStatement* entry) {
  // The parameters stay bound: every query context binds them all (BindParameters).
  sqlite3_reset(entry->statement.get());
  entry->in_use = false;
}

}  // namespace quellor::tagdll
