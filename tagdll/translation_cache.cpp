#include "tagdll/translation_cache.h"

#include "base/ascii.h"

namespace quellor::tagdll {

Result<const sql::Translation*> TranslationCache::ForSavedQuery(
    const sql::SavedQueryDefinition& row, std::int64_t schema_version) {
  return Find(saved_queries_, ToUpperAscii(row.name), row.access_sql.value_or(""),
              sql::TextOrigin::kSavedQuery, row.name, schema_version);
}

Result<const sql::Translation*> TranslationCache::ForProgramText(const std::string& text,
                                                                 std::int64_t schema_version) {
  return Find(program_texts_, text, text, sql::TextOrigin::kProgram, "", schema_version);
}

Result<const sql::Translation*> TranslationCache::Find(Entries& entries, const std::string& key,
                                                       const std::string& access_sql,
                                                       sql::TextOrigin origin,
                                                       std::string_view name,
                                                       std::int64_t schema_version) {
  const auto found = entries.find(key);
  if (found != entries.end()) {
    const Entry& entry = found->second;
    if (entry.access_sql == access_sql && entry.schema_version == schema_version &&
        !entry.translation.data_dependent) {
      Result<bool> unchanged = SourcesUnchanged(entry.translation);
      if (!unchanged.ok()) return unchanged.status();
      if (*unchanged) return &entry.translation;
    }
    entries.erase(found);
  }
  Result<sql::Translation> translated = sql::TranslateAccessSql(access_sql, origin, name, catalog_);
  if (!translated.ok()) return translated.status();
  Entry& entry = entries[key];
  entry.access_sql = access_sql;
  entry.schema_version = schema_version;
  entry.translation = std::move(translated).value();
  return &entry.translation;
}

Result<bool> TranslationCache::SourcesUnchanged(const sql::Translation& translation) {
  for (const sql::SavedQueryDefinition& source : translation.saved_queries) {
    Result<std::optional<sql::SavedQueryDefinition>> now = catalog_.FindSavedQuery(source.name);
    if (!now.ok()) return now.status();
    if (!now->has_value() || (*now)->sql != source.sql || (*now)->access_sql != source.access_sql) {
      return false;
    }
  }
  return true;
}

}  // namespace quellor::tagdll
