#include "tagdll/access/access_import.h"

#include <vector>

#include "base/ascii.h"
#include "tagdll/access/access_file.h"
#include "tagdll/access/linked_tables.h"
#include "tagdll/access/query_decoder.h"
#include "tagdll/access/saved_queries.h"
#include "tagdll/access/saved_query_parameters.h"
#include "tagdll/access/sqlite_target.h"
#include "tagdll/access/table_schema.h"

namespace quellor::tagdll::access {
namespace {

constexpr char kSavedQueriesTable[] = "SavedQueries";
constexpr char kSavedQueriesSql[] =
    "CREATE TABLE SavedQueries (\n"
    "  Name TEXT COLLATE NOCASE PRIMARY KEY,\n"
    "  Sql TEXT,\n"
    "  AccessSql TEXT,\n"
    "  Parameters TEXT,\n"
    "  CHECK (Sql IS NOT NULL OR AccessSql IS NOT NULL))";

class Importer final {
 public:
  Importer(AccessFile& file, SqliteTarget& target, const ImportOptions& options)
      : file_(file), target_(target), options_(options), linked_(file.path()) {}

  Status ImportTables() {
    for (const CatalogObject& object : file_.objects()) {
      Result<std::unique_ptr<AccessTable>> table = OpenTable(object);
      if (!table.ok()) return table.status();
      if (*table == nullptr) continue;
      if (Status status = ImportTable(object.name, **table); !status.ok()) return status;
    }
    return Status::Ok();
  }

  Status ImportSavedQueries() {
    Progress("importing the saved queries");
    Result<std::vector<SavedQueryRows>> queries = ReadSavedQueries(file_);
    if (!queries.ok()) return queries.status();
    Result<StatementPtr> insert = CreateTable(
        kSavedQueriesSql,
        "INSERT INTO SavedQueries (Name, Sql, AccessSql, Parameters) VALUES (?1, NULL, ?2, ?3)");
    if (!insert.ok()) return insert.status();
    for (const SavedQueryRows& rows : *queries) {
      Result<DecodedQuery> query = DecodeSavedQuery(rows);
      if (!query.ok()) {
        Warn("saved query \"" + rows.name + "\" is left out: it cannot be decoded (" +
             query.status().message() + ")");
        continue;
      }
      const FieldValue values[] = {rows.name, query->access_sql, ParameterLines(*query)};
      const std::size_t positions[] = {0, 1, 2};
      const Status status = target_.Insert(insert->get(), values, positions);
      if (!status.ok()) return ContentFailure(status, "saved query \"" + rows.name + "\"");
    }
    return Status::Ok();
  }

  // Puts every saved query through the library's translator (saved_query_parameters.h).
  Status TranslateSavedQueries() {
    return NumberSavedQueryParameters(
        target_.connection(), [this](const std::string& name, const Status& translation) {
          if (!translation.ok()) {
            Warn("saved query \"" + name + "\" does not translate: " + translation.message());
          }
          if (options_.translated) options_.translated(name, translation);
        });
  }

 private:
  // The table a catalog object stands for; nullptr for objects that are no user tables.
  Result<std::unique_ptr<AccessTable>> OpenTable(const CatalogObject& object) {
    const bool user_table = IsUserTable(object);
    const bool linked = IsLinkedAccessTable(object);
    if ((user_table || linked) && EqualsIgnoreCase(object.name, kSavedQueriesTable)) {
      return AccessFileError(StatusCode::kUnsupported, file_.path(),
                             "its table \"" + object.name +
                                 "\" has the name of the table the import writes its saved "
                                 "queries to");
    }
    if (IsLinkedOdbcTable(object)) {
      return AccessFileError(StatusCode::kUnsupported, file_.path(),
                             "its table \"" + object.name +
                                 "\" is linked to an ODBC data source, which cannot be imported");
    }
    if (user_table) return file_.OpenTable(object);
    if (linked) return linked_.OpenLinkedTable(object);
    return std::unique_ptr<AccessTable>();
  }

  Status ImportTable(const std::string& name, AccessTable& table) {
    Progress("importing table \"" + name + "\"");
    const std::vector<AccessColumn>& columns = table.columns();
    for (const AccessColumn& column : columns) {
      if (!SqlTypeOf(column.type)) {
        Warn("table \"" + name + "\": column \"" + column.name + "\" is left out: a " +
             std::string(AccessTypeName(column.type)) + " column cannot be imported");
      }
    }
    Result<StatementPtr> insert =
        CreateTable(CreateTableSql(name, columns, table.indexes()), InsertSql(name, columns));
    const std::string what = "table \"" + name + "\"";
    if (!insert.ok()) return ContentFailure(insert.status(), what);
    const std::vector<std::size_t> positions = ImportedColumns(columns);
    std::uint64_t rows = 0;
    Status status = table.ForEachRow([&](std::span<const FieldValue> values) {
      if (++rows % kRowsPerProgressLine == 0) Progress("  " + std::to_string(rows) + " rows");
      return target_.Insert(insert->get(), values, positions);
    });
    for (const std::string& sql : CreateIndexSql(name, columns, table.indexes())) {
      if (status.ok()) status = target_.Execute(sql);
    }
    return ContentFailure(status, what);
  }

  // Runs `create`, then prepares `insert` for the table it made.
  Result<StatementPtr> CreateTable(const std::string& create, const std::string& insert) {
    if (const Status status = target_.Execute(create); !status.ok()) return status;
    return target_.Prepare(insert);
  }

  // A failure the content caused is the Access file's damage, such as a name given twice or
  // a key that two rows share.
  Status ContentFailure(const Status& status, const std::string& what) const {
    if (status.code() != StatusCode::kInvalidArgument) return status;
    return file_.Damaged(what + " does not fit an SQLite database (" + status.message() + ")");
  }

  static FieldValue ParameterLines(const DecodedQuery& query) {
    if (query.parameters.empty()) return FieldValue();
    std::string lines;
    for (const std::string& name : query.parameters) lines += (lines.empty() ? "" : "\n") + name;
    return lines;
  }

  void Progress(const std::string& line) const {
    if (options_.progress) options_.progress(line);
  }
  void Warn(const std::string& line) const {
    if (options_.warning) options_.warning(line);
  }

  AccessFile& file_;
  SqliteTarget& target_;
  const ImportOptions& options_;
  LinkedFiles linked_;
};

}  // namespace

Status ImportAccessFile(const std::string& access_path, const std::string& sqlite_path,
                        const ImportOptions& options) {
  Result<std::unique_ptr<AccessFile>> file = AccessFile::Open(access_path);
  if (!file.ok()) return file.status();
  const std::string& shown =
      options.shown_sqlite_path.empty() ? sqlite_path : options.shown_sqlite_path;
  Result<std::unique_ptr<SqliteTarget>> target = SqliteTarget::Create(sqlite_path, shown);
  if (!target.ok()) return target.status();
  Status status;
  {
    Importer importer(**file, **target, options);
    status = importer.ImportTables();
    if (status.ok()) status = importer.ImportSavedQueries();
    if (status.ok()) status = importer.TranslateSavedQueries();
  }
  if (!status.ok()) return status;
  return (*target)->Finish();
}

bool IsSqliteFileFailure(const Status& status) {
  return status.message().starts_with(kSqliteFailurePrefix);
}

}  // namespace quellor::tagdll::access
