// The imported saved queries put through the library's translator once, at the import: each
// query's Parameters become every name it takes, in the positions the library will bind them
// (the declared ones, then the names its text uses that are no columns, then those of the
// saved queries it reads), and a query that does not translate is named with the reason, so
// that a user learns it from the import rather than from a later build.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <string>

#include "base/status.h"

namespace quellor::tagdll::access {

// For each query: its name and Ok, or why the translator refuses it.
using TranslationVerdict = std::function<void(const std::string& name, const Status& result)>;

// Translates every row of SavedQueries that holds Access SQL on `connection` (the import's,
// inside its transaction) and sets its Parameters from the translation; a query that does not
// translate keeps the declared parameters. Fails only when the database cannot be read or
// written.
Status NumberSavedQueryParameters(sqlite3* connection, const TranslationVerdict& verdict);

}  // namespace quellor::tagdll::access
