// From the program's paths to the host's. Inside the program a path is the Windows-1252 text
// it composed ("C:\PLANT\FactorySuite\Clients"); every file-system call resolves it here.
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"

namespace quellor {

// The host path (UTF-8) of a program path:
// - "X:\rest" and "X:rest" start at the prefix's dosdevices/x: (any letter case); a drive
//   letter without that entry names nothing (NotFound);
// - "\\server\share" names nothing (NotFound);
// - one leading "\" or "/" starts at the host's root;
// - anything else is relative to the working folder.
// Both separators separate. Each component is taken as written when it exists, else the
// folder's entry equal to it without regard to ASCII case (the first in byte order), else
// as written, so that a missing file can be created. An empty path is NotFound.
Result<std::string> ResolvePath(std::string_view windows_path);

// One component looked up in a host folder by the same rule: `name` (UTF-8) as written when
// it exists, else the first entry equal without case, else `name`.
std::string ResolveComponent(const std::string& host_folder, std::string_view name);

// True for '\\' and '/'.
constexpr bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace quellor
