// The translations of Access SQL made for one attachment. A translation is used again while
// nothing it was made from has changed: the text (or the saved query's row), the rows of the
// saved queries it reads, and the schema (SQLite's schema version). Checking that costs one
// look-up of each saved query involved, so that a query prepared thousands of times in a
// build is translated once. A crosstab that reads its headings from the data is translated
// at every prepare.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "base/status.h"
#include "tagdll/sql/catalog.h"
#include "tagdll/sql/translator.h"

namespace quellor::tagdll {

class TranslationCache final {
 public:
  explicit TranslationCache(sql::Catalog& catalog) : catalog_(catalog) {}
  TranslationCache(const TranslationCache&) = delete;
  TranslationCache& operator=(const TranslationCache&) = delete;

  // The translation of a saved query whose row holds Access SQL; valid until the next call.
  Result<const sql::Translation*> ForSavedQuery(const sql::SavedQueryDefinition& row,
                                                std::int64_t schema_version);
  // The translation of one of the program's own texts (UTF-8); valid until the next call.
  Result<const sql::Translation*> ForProgramText(const std::string& text,
                                                 std::int64_t schema_version);

 private:
  struct Entry {
    std::string access_sql;
    std::int64_t schema_version = 0;
    sql::Translation translation;
  };
  using Entries = std::unordered_map<std::string, Entry>;

  Result<const sql::Translation*> Find(Entries& entries, const std::string& key,
                                       const std::string& access_sql, sql::TextOrigin origin,
                                       std::string_view name, std::int64_t schema_version);
  // Whether every saved query the translation reads still has the row it was made from.
  Result<bool> SourcesUnchanged(const sql::Translation& translation);

  sql::Catalog& catalog_;
  Entries saved_queries_;  // by upper-case name
  Entries program_texts_;  // by text
};

}  // namespace quellor::tagdll
