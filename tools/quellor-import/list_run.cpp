// quellor-import --list ACCESS_FILE: each table with its row count, then each saved query
// with its type, whether the project-database library translates it (or why not), and its
// Access SQL, indented under it. The verdicts come from an import into memory, the same
// import a build's image gets.
#include <map>
#include <string>
#include <vector>

#include "quellor-import/import_command.h"
#include "tagdll/access/access_file.h"
#include "tagdll/access/access_import.h"
#include "tagdll/access/linked_tables.h"
#include "tagdll/access/query_decoder.h"
#include "tagdll/access/saved_queries.h"

namespace quellor::import_tool {
namespace {

using tagdll::access::AccessFile;
using tagdll::access::AccessTable;
using tagdll::access::CatalogObject;
using tagdll::access::DecodedQuery;

// What the library's translator makes of each saved query, by name: "translates", or why
// it does not. Empty when the import itself fails (the listing then says why).
using Verdicts = std::map<std::string, std::string>;

Verdicts TranslationVerdicts(const std::string& access_path) {
  Verdicts verdicts;
  tagdll::access::ImportOptions options;
  options.translated = [&](const std::string& name, const Status& translation) {
    verdicts[name] =
        translation.ok() ? "translates" : "does not translate: " + translation.message();
  };
  if (!tagdll::access::ImportAccessFile(access_path, ":memory:", options).ok()) verdicts.clear();
  return verdicts;
}

Status ListTables(AccessFile& file) {
  tagdll::access::LinkedFiles linked(file.path());
  for (const CatalogObject& object : file.objects()) {
    const bool is_linked = tagdll::access::IsLinkedAccessTable(object);
    if (!tagdll::access::IsUserTable(object) && !is_linked) continue;
    Result<std::unique_ptr<AccessTable>> table =
        is_linked ? linked.OpenLinkedTable(object) : file.OpenTable(object);
    if (!table.ok()) return table.status();
    Result<std::uint64_t> rows = (*table)->CountRows();
    if (!rows.ok()) return rows.status();
    PrintLine("table \"" + object.name + "\"" +
              (is_linked ? " (linked to " + object.database + ")" : "") + ": " +
              std::to_string(*rows) + " rows");
  }
  return Status::Ok();
}

void PrintIndented(const std::string& text) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::size_t line_end = end;
    if (line_end > start && text[line_end - 1] == '\r') --line_end;
    PrintLine("    " + text.substr(start, line_end - start));
    start = end + 1;
  }
}

Status ListSavedQueries(AccessFile& file, const Verdicts& verdicts) {
  Result<std::vector<tagdll::access::SavedQueryRows>> queries = ReadSavedQueries(file);
  if (!queries.ok()) return queries.status();
  for (const tagdll::access::SavedQueryRows& rows : *queries) {
    Result<DecodedQuery> query = tagdll::access::DecodeSavedQuery(rows);
    if (!query.ok()) {
      PrintLine("query \"" + rows.name + "\": cannot be decoded (" + query.status().message() +
                ")");
      continue;
    }
    const auto found = verdicts.find(rows.name);
    const std::string verdict = found != verdicts.end() ? found->second : "";
    PrintLine("query \"" + rows.name + "\" (" + std::string(QueryTypeName(query->type)) + ")" +
              (verdict.empty() ? "" : ", " + verdict) + ":");
    PrintIndented(query->access_sql);
  }
  return Status::Ok();
}

}  // namespace

int RunList(const std::string& access_path) {
  Result<std::unique_ptr<AccessFile>> file = AccessFile::Open(access_path);
  Status status = file.ok() ? ListTables(**file) : file.status();
  if (status.ok()) status = ListSavedQueries(**file, TranslationVerdicts(access_path));
  if (!status.ok()) {
    PrintErrorLine(status.message());
    return kExitAccessUnreadable;
  }
  return kExitOk;
}

}  // namespace quellor::import_tool
