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
  // whenever the database file changed since the answer was kept (through this connection or
  // any other), and whenever SQLite cannot say. Failures are never kept. The definition stays
  // valid until the next Find.
  Result<const sql::SavedQueryDefinition*> Find(std::string_view utf8_name);

 private:
  // SQLite's data version of the main database: it changes with every change to the file.
  std::optional<std::uint32_t> DataVersion();
  // The version as of the connection's last read of the main database.
  std::optional<std::uint32_t> FileDataVersion();

  sqlite3* const connection_;
  sql::SqliteCatalog& catalog_;
  StatementPtr data_version_;  // PRAGMA data_version, prepared at first use
  // Looks names up without making a string of each.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>()(name);
    }
  };

  std::optional<std::uint32_t> version_;  // of the answers kept
  std::unordered_map<std::string, std::optional<sql::SavedQueryDefinition>, NameHash,
                     std::equal_to<>>
      definitions_;
  // The answer of a Find that could not be kept.
  std::optional<sql::SavedQueryDefinition> unkept_;
};

}  // namespace quellor::tagdll
