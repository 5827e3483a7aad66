// The reasons the program's report texts have no room for (the system's, the loader's): one
// line each on standard error, beside the report, which stays as the build describes it.
#pragma once

#include <string_view>

#include "base/status.h"

namespace quellor {

// Writes `reason` (the program's Windows-1252 text, as Report takes) and a line end to standard
// error, in one write.
void ExplainOnStandardError(std::string_view reason);

// Reports `format` ("Failed to open %s", "Failed to create file %s") filled with `path` as an
// error (flag 1), then the reason of the failure on standard error: its message, which names
// the host path and why (host text, converted).
void ReportFileFailure(const char* format, std::string_view path, const Status& reason);

}  // namespace quellor
