#include "tagdll/saved_query_cache.h"

#include <sqlite3.h>

namespace quellor::tagdll {

Result<std::optional<sql::SavedQueryDefinition>> SavedQueryCache::Find(
    const std::string& utf8_name) {
  const std::optional<std::uint32_t> version = DataVersion();
  if (!version || version != version_) {
    definitions_.clear();
    version_ = version;
  }
  if (version) {
    if (const auto kept = definitions_.find(utf8_name); kept != definitions_.end()) {
      return kept->second;
    }
  }
  Result<std::optional<sql::SavedQueryDefinition>> found = catalog_.FindSavedQuery(utf8_name);
  // The look-up's own read may have seen a newer file: then the next call asks again.
  if (found.ok() && version) definitions_.emplace(utf8_name, *found);
  return found;
}

std::optional<std::uint32_t> SavedQueryCache::DataVersion() const {
  unsigned int version = 0;
  if (sqlite3_file_control(connection_, "main", SQLITE_FCNTL_DATA_VERSION, &version) != SQLITE_OK) {
    return std::nullopt;
  }
  return version;
}

}  // namespace quellor::tagdll
