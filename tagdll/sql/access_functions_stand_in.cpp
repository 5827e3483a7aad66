// Stands in for Access's functions until they are built: it knows none, so the translator
// refuses every call of one by name.
#include "tagdll/sql/access_functions.h"

namespace quellor::tagdll::sql {

const AccessFunction* FindAccessFunction(std::string_view /*name*/) { return nullptr; }

int RegisterAccessFunctions(sqlite3* /*connection*/) { return SQLITE_OK; }

}  // namespace quellor::tagdll::sql
