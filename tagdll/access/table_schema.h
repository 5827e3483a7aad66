// The SQLite definition of an imported table, as the project schema (tagdll/schema.sql)
// writes its own: columns in order with the declared types of access_type.h, a Yes/No
// column with CHECK (col IN (0, 1)), the primary key's columns NOT NULL. A table with a
// primary key is a WITHOUT ROWID table, so that a Long key is not SQLite's row number, which
// would number a row given no key instead of refusing it as Access does. Other indexes are
// named "TABLE.INDEX" (index names are per table in Access, per database in SQLite).
// Multi-value and attachment columns are left out, and so is an index over one of them.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tagdll/access/access_table.h"

namespace quellor::tagdll::access {

// The positions of the columns that are imported.
std::vector<std::size_t> ImportedColumns(std::span<const AccessColumn> columns);

std::string CreateTableSql(std::string_view table, std::span<const AccessColumn> columns,
                           std::span<const AccessIndex> indexes);
// One CREATE INDEX per index that is not the primary key or a copy of its keys.
std::vector<std::string> CreateIndexSql(std::string_view table,
                                        std::span<const AccessColumn> columns,
                                        std::span<const AccessIndex> indexes);
// INSERT INTO table (imported columns) VALUES (?1, ...).
std::string InsertSql(std::string_view table, std::span<const AccessColumn> columns);

// A name in SQLite's double quotes.
std::string SqliteName(std::string_view name);

}  // namespace quellor::tagdll::access
