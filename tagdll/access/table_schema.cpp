#include "tagdll/access/table_schema.h"

#include <algorithm>

namespace quellor::tagdll::access {
namespace {

bool IsImported(const AccessColumn& column) { return SqlTypeOf(column.type).has_value(); }

bool CoversImportedColumnsOnly(const AccessIndex& index, std::span<const AccessColumn> columns) {
  return std::all_of(index.keys.begin(), index.keys.end(),
                     [&](const AccessIndexKey& key) { return IsImported(columns[key.column]); });
}

const AccessIndex* PrimaryKey(std::span<const AccessColumn> columns,
                              std::span<const AccessIndex> indexes) {
  for (const AccessIndex& index : indexes) {
    if (index.primary_key && CoversImportedColumnsOnly(index, columns)) return &index;
  }
  return nullptr;
}

bool InKey(const AccessIndex* index, std::size_t column) {
  return index != nullptr &&
         std::any_of(index->keys.begin(), index->keys.end(),
                     [column](const AccessIndexKey& key) { return key.column == column; });
}

bool SameKeys(const AccessIndex& a, const AccessIndex& b) {
  return std::equal(a.keys.begin(), a.keys.end(), b.keys.begin(), b.keys.end(),
                    [](const AccessIndexKey& x, const AccessIndexKey& y) {
                      return x.column == y.column && x.descending == y.descending;
                    });
}

std::string KeyList(const AccessIndex& index, std::span<const AccessColumn> columns) {
  std::string list;
  for (const AccessIndexKey& key : index.keys) {
    if (!list.empty()) list += ", ";
    list += SqliteName(columns[key.column].name) + (key.descending ? " DESC" : "");
  }
  return list;
}

}  // namespace

std::string SqliteName(std::string_view name) {
  std::string quoted = "\"";
  for (const char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

std::vector<std::size_t> ImportedColumns(std::span<const AccessColumn> columns) {
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (IsImported(columns[i])) positions.push_back(i);
  }
  return positions;
}

std::string CreateTableSql(std::string_view table, std::span<const AccessColumn> columns,
                           std::span<const AccessIndex> indexes) {
  const AccessIndex* primary_key = PrimaryKey(columns, indexes);
  std::string sql = "CREATE TABLE " + SqliteName(table) + " (";
  bool first = true;
  for (const std::size_t i : ImportedColumns(columns)) {
    const sql::SqlType type = *SqlTypeOf(columns[i].type);
    const std::string name = SqliteName(columns[i].name);
    sql += (first ? "\n  " : ",\n  ") + name + " " + std::string(DeclaredType(type));
    if (InKey(primary_key, i)) sql += " NOT NULL";
    if (type == sql::SqlType::kBoolean) sql += " CHECK (" + name + " IN (0, 1))";
    first = false;
  }
  if (primary_key != nullptr) sql += ",\n  PRIMARY KEY (" + KeyList(*primary_key, columns) + ")";
  sql += "\n)";
  if (primary_key != nullptr) sql += " WITHOUT ROWID";
  return sql;
}

std::vector<std::string> CreateIndexSql(std::string_view table,
                                        std::span<const AccessColumn> columns,
                                        std::span<const AccessIndex> indexes) {
  const AccessIndex* primary_key = PrimaryKey(columns, indexes);
  std::vector<std::string> statements;
  for (const AccessIndex& index : indexes) {
    if (&index == primary_key || !CoversImportedColumnsOnly(index, columns)) continue;
    if (primary_key != nullptr && SameKeys(index, *primary_key)) continue;
    statements.push_back(std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX " +
                         SqliteName(std::string(table) + "." + index.name) + " ON " +
                         SqliteName(table) + " (" + KeyList(index, columns) + ")");
  }
  return statements;
}

std::string InsertSql(std::string_view table, std::span<const AccessColumn> columns) {
  std::string names;
  std::string values;
  int number = 0;
  for (const std::size_t i : ImportedColumns(columns)) {
    if (number > 0) {
      names += ", ";
      values += ", ";
    }
    names += SqliteName(columns[i].name);
    values.append("?").append(std::to_string(++number));
  }
  std::string sql = "INSERT INTO ";
  return sql.append(SqliteName(table)) + " (" + names + ") VALUES (" + values + ")";
}

}  // namespace quellor::tagdll::access
