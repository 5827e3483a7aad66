// The program behind main(): its own options first, then one build of the command line that
// its other arguments make.
#pragma once

#include <span>
#include <string>

#include "projectdb/project_db.h"

namespace quellor {

// Returns the exit code. --help and --version answer and end; no argument at all prints the
// usage on standard error and ends (0), as do options alone; an unknown option is refused with the
// usage (2). Otherwise the build's code (build_driver.h), or 2 when --strict or QUELLOR_STRICT=1
// asked for it and the build reported an error. With --preview or QUELLOR_PREVIEW=1 the build
// is a preview (preview.h), with the same codes. An old-format tag dictionary ends the process with
// 1 before this returns.
int RunQuellor(std::span<const std::string> args,
               std::string library_name = ProjectDb::kLibraryName);

}  // namespace quellor
