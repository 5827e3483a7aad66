// A preview: the whole build of a command line, reporting every message the build would report,
// in the same order, with nothing written. The file service is a layer in memory over the
// host's for the run (overlay_file_system.h), and the project database's changes are made in
// memory and discarded, so no file or folder of the project, the applications, the historian,
// the HMI installation or the machine is created, changed, renamed or removed. The folder locks
// are still taken.
#pragma once

#include <string>
#include <string_view>

#include "projectdb/project_db.h"

namespace quellor {

// What the last line of a preview says on standard output, after the build's own messages.
inline constexpr std::string_view kNothingWrittenLine = "Preview: nothing was written.\n";

// As RunBuild (build_driver.h), writing nothing; the last line on standard output is
// kNothingWrittenLine, also when the build ends the process early.
int RunPreview(std::string_view command_line_tail,
               std::string library_name = ProjectDb::kLibraryName);

}  // namespace quellor
