// The saved queries of an Access file as rows: each visible query of the catalog with its
// rows of the system table MSysQueries. Hidden queries, whose names start with "~" (the
// record sources of forms and reports, "~sq_...", and Access's temporary objects), are left
// out.
#pragma once

#include <vector>

#include "base/status.h"
#include "tagdll/access/query_rows.h"

namespace quellor::tagdll::access {

class AccessFile;

// In the order of their names, compared without regard to case.
Result<std::vector<SavedQueryRows>> ReadSavedQueries(AccessFile& file);

}  // namespace quellor::tagdll::access
