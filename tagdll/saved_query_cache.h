// SavedQueryCache: the saved queries' definitions as the catalog finds them, kept while the
// database file is unchanged. A build prepares one saved query for each of its tags, and each
// look-up would scan SavedQueries comparing names without regard to case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/status.h"
#include "base/string_hash.h"
#include "tagdll/sql/sqlite_catalog.h"
#include "tagdll/sqlite_handles.h"

namespace quellor::tagdll {

class SavedQueryCache final {
 public:
  // Both must outlive the cache.
  SavedQueryCache(sqlite3* connection, sql::SqliteCatalog& catalog)
      : connection_(connection), catalog_(catalog) {}
  SavedQueryCache(const SavedQueryCache&) = delete;
  SavedQueryCache& operator=(const SavedQueryCache&) = delete;

  // The catalog's answer for `utf8_name`, null when there is no such query: asked again
  // whenever the database changed since the answer was kept (through this connection or any
  // other), and whenever SQLite cannot say. Failures are never kept. The definition stays
  // valid until the next Find or Forget.
  Result<const sql::SavedQueryDefinition*> Find(std::string_view utf8_name);
  // Drops every answer kept: a rollback takes changes back without moving any version.
  void Forget();

 private:
  // What the kept answers were read under. The data version moves with every commit to the
  // file; rows this connection changes inside a transaction of its own move it only at the
  // commit, so the count of the rows it changed is part of the version too.
  struct Version {
    std::uint32_t data = 0;
    std::int64_t own_changes = 0;
    bool operator==(const Version&) const = default;
  };
  std::optional<Version> CurrentVersion();
  // SQLite's data version of the main database: it changes with every commit to the file.
  std::optional<std::uint32_t> DataVersion();
  // The version as of the connection's last read of the main database.
  std::optional<std::uint32_t> FileDataVersion();

  sqlite3* const connection_;
  sql::SqliteCatalog& catalog_;
  StatementPtr data_version_;       // PRAGMA data_version, prepared at first use
  std::optional<Version> version_;  // of the answers kept
  std::unordered_map<std::string, std::optional<sql::SavedQueryDefinition>, StringHash,
                     std::equal_to<>>
      definitions_;
  // The answer of a Find that could not be kept.
  std::optional<sql::SavedQueryDefinition> unkept_;
};

}  // namespace quellor::tagdll
