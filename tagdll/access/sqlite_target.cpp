#include "tagdll/access/sqlite_target.h"

#include <type_traits>

namespace quellor::tagdll::access {
namespace {

int Bind(sqlite3_stmt* statement, int index, const FieldValue& value) {
  return std::visit(
      [statement, index](const auto& v) {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, std::monostate>) {
          return sqlite3_bind_null(statement, index);
        } else if constexpr (std::is_same_v<V, std::int64_t>) {
          return sqlite3_bind_int64(statement, index, v);
        } else if constexpr (std::is_same_v<V, double>) {
          return sqlite3_bind_double(statement, index, v);
        } else if constexpr (std::is_same_v<V, std::string>) {
          return sqlite3_bind_text64(statement, index, v.data(), v.size(), SQLITE_STATIC,
                                     SQLITE_UTF8);
        } else {
          return sqlite3_bind_blob64(statement, index, v.bytes.data(), v.bytes.size(),
                                     SQLITE_STATIC);
        }
      },
      value);
}

}  // namespace

Result<std::unique_ptr<SqliteTarget>> SqliteTarget::Create(const std::string& host_path,
                                                           const std::string& shown_path) {
  sqlite3* raw = nullptr;
  const int opened =
      sqlite3_open_v2(host_path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  std::unique_ptr<SqliteTarget> target(new SqliteTarget(shown_path, ConnectionPtr(raw)));
  if (opened != SQLITE_OK) return target->Failed();
  Status status = target->Execute("PRAGMA journal_mode = OFF");
  if (status.ok()) status = target->Execute("PRAGMA synchronous = OFF");
  if (status.ok()) status = target->Execute("BEGIN");
  if (!status.ok()) return status;
  return target;
}

Status SqliteTarget::Execute(const std::string& sql) {
  if (sqlite3_exec(connection_.get(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    return Failed();
  }
  return Status::Ok();
}

Result<StatementPtr> SqliteTarget::Prepare(const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(connection_.get(), sql.c_str(), static_cast<int>(sql.size()), &statement,
                         nullptr) != SQLITE_OK) {
    return Failed();
  }
  return StatementPtr(statement);
}

Status SqliteTarget::Insert(sqlite3_stmt* statement, std::span<const FieldValue> values,
                            std::span<const std::size_t> positions) {
  int result = SQLITE_OK;
  for (std::size_t i = 0; i < positions.size() && result == SQLITE_OK; ++i) {
    result = Bind(statement, static_cast<int>(i) + 1, values[positions[i]]);
  }
  if (result == SQLITE_OK) result = sqlite3_step(statement);
  const Status status = result == SQLITE_DONE ? Status::Ok() : Failed();
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  return status;
}

Status SqliteTarget::Finish() {
  Status status = Execute("COMMIT");
  if (status.ok() && sqlite3_close(connection_.get()) != SQLITE_OK) status = Failed();
  if (status.ok()) (void)connection_.release();  // closed already
  return status;
}

Status SqliteTarget::Failed() const {
  const char* reason = connection_ != nullptr ? sqlite3_errmsg(connection_.get()) : "out of memory";
  const int code = connection_ != nullptr ? sqlite3_errcode(connection_.get()) : SQLITE_NOMEM;
  if (code == SQLITE_CONSTRAINT || code == SQLITE_ERROR) return Status::InvalidArgument(reason);
  return Status::IoError(std::string(kSqliteFailurePrefix) + shown_path_ +
                         " cannot be written: " + reason);
}

}  // namespace quellor::tagdll::access
