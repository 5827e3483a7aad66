#include "tagdll/saved_query_cache.h"

#include <sqlite3.h>

namespace quellor::tagdll {

Result<const sql::SavedQueryDefinition*> SavedQueryCache::Find(std::string_view utf8_name) {
  const std::optional<Version> version = CurrentVersion();
  if (!version || version != version_) {
    definitions_.clear();
    version_ = version;
  }
  if (version) {
    if (const auto kept = definitions_.find(utf8_name); kept != definitions_.end()) {
      return kept->second ? &*kept->second : nullptr;
    }
  }
  Result<std::optional<sql::SavedQueryDefinition>> found = catalog_.FindSavedQuery(utf8_name);
  if (!found.ok()) return found.status();
  // The look-up's own read may have seen a newer file: then the next call asks again.
  std::optional<sql::SavedQueryDefinition>& answer =
      version ? definitions_.emplace(utf8_name, *std::move(found)).first->second
              : (unkept_ = *std::move(found));
  return answer ? &*answer : nullptr;
}

void SavedQueryCache::Forget() {
  definitions_.clear();
  version_.reset();
}

std::optional<SavedQueryCache::Version> SavedQueryCache::CurrentVersion() {
  const std::optional<std::uint32_t> data = DataVersion();
  if (!data) return std::nullopt;
  return Version{*data, sqlite3_total_changes64(connection_)};
}

std::optional<std::uint32_t> SavedQueryCache::DataVersion() {
  // The file control gives the version as of the connection's last read. Inside a read
  // transaction (a query of the program still open) that read is the transaction's own start,
  // and no other connection's commit can become visible before it ends, while this
  // connection's own commits move the version themselves: the file control is current. Outside
  // one, the pragma's read first brings it up to what other connections committed since.
  if (sqlite3_txn_state(connection_, "main") != SQLITE_TXN_NONE) return FileDataVersion();
  if (data_version_ == nullptr) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(connection_, "PRAGMA data_version", -1, &raw, nullptr) != SQLITE_OK) {
      sqlite3_finalize(raw);
      return std::nullopt;
    }
    data_version_.reset(raw);
  }
  const int stepped = sqlite3_step(data_version_.get());
  sqlite3_reset(data_version_.get());
  if (stepped != SQLITE_ROW) return std::nullopt;
  return FileDataVersion();
}

std::optional<std::uint32_t> SavedQueryCache::FileDataVersion() {
  unsigned int version = 0;
  if (sqlite3_file_control(connection_, "main", SQLITE_FCNTL_DATA_VERSION, &version) != SQLITE_OK) {
    return std::nullopt;
  }
  return version;
}

}  // namespace quellor::tagdll
