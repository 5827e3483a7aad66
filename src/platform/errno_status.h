// The one translation of an errno value into a Status. Every failing system call of the
// platform layer reports through it, so a message always names the path first.
#pragma once

#include <string_view>

#include "base/status.h"

namespace quellor {

// "<path>: <description of error>", with a code that tells the callers' cases apart:
// ENOENT/ENOTDIR not found, EACCES/EPERM/EROFS permission denied, EWOULDBLOCK held by
// another process, everything else an I/O error.
Status ErrnoStatus(std::string_view path, int error);

}  // namespace quellor
