// quellor-import --list ACCESS_FILE: each table with its row count, then each saved query
// with its type and its Access SQL, indented under it.
#include <string>
#include <vector>

#include "quellor-import/import_command.h"
#include "tagdll/access/access_file.h"
#include "tagdll/access/linked_tables.h"
#include "tagdll/access/query_decoder.h"
#include "tagdll/access/saved_queries.h"

namespace quellor::import_tool {
namespace {

using tagdll::access::AccessFile;
using tagdll::access::AccessTable;
using tagdll::access::CatalogObject;
using tagdll::access::DecodedQuery;

// What the project-database library's translator makes of the query ("translates", or why
// it does not); empty while the translator is not linked here.
std::string TranslationVerdict(const DecodedQuery& query) {
  (void)query;
  return "";
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

Status ListSavedQueries(AccessFile& file) {
  Result<std::vector<tagdll::access::SavedQueryRows>> queries = ReadSavedQueries(file);
  if (!queries.ok()) return queries.status();
  for (const tagdll::access::SavedQueryRows& rows : *queries) {
    Result<DecodedQuery> query = tagdll::access::DecodeSavedQuery(rows);
    if (!query.ok()) {
      PrintLine("query \"" + rows.name + "\": cannot be decoded (" + query.status().message() +
                ")");
      continue;
    }
    const std::string verdict = TranslationVerdict(*query);
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
  if (status.ok()) status = ListSavedQueries(**file);
  if (!status.ok()) {
    PrintErrorLine(status.message());
    return kExitAccessUnreadable;
  }
  return kExitOk;
}

}  // namespace quellor::import_tool
