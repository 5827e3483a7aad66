// The catalog of an Access file: the rows of its system table MSysObjects, one per table,
// query, form and other object.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"

namespace quellor::tagdll::access {

class AccessFile;

struct CatalogObject {
  std::int32_t id = 0;
  std::string name;
  int type = 0;
  std::int32_t flags = 0;
  std::string database;      // a linked table's file, as the linking machine named it
  std::string foreign_name;  // a linked table's name in that file
};

// Tables of the file's own (type 1) that are neither system tables nor Access's own.
bool IsUserTable(const CatalogObject& object);
// A table of another Access file (type 6), or of an ODBC data source (type 4).
bool IsLinkedAccessTable(const CatalogObject& object);
bool IsLinkedOdbcTable(const CatalogObject& object);
bool IsQuery(const CatalogObject& object);
// The page of a table's definition: the low 24 bits of its id.
std::uint32_t DefinitionPage(const CatalogObject& object);

// Every row of MSysObjects, in storage order.
Result<std::vector<CatalogObject>> ReadCatalog(AccessFile& file);

// The object of that name and kind, without regard to case; nullptr if there is none.
const CatalogObject* FindObject(const std::vector<CatalogObject>& objects, const std::string& name,
                                bool (*kind)(const CatalogObject&));

}  // namespace quellor::tagdll::access
