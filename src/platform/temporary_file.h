// Temporary files beside the files they become: ".~NAME.PID", written whole by process PID,
// synced and renamed over NAME. A process that dies leaves its temporary files behind; the
// next writer of the folder removes them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quellor {

class FileSystem;

// The name of the temporary file for `file_name` written by process `pid`.
std::string TemporaryFileName(std::string_view file_name, int pid);

// This process's temporary file for the entry at `host_path`, in the same folder.
std::string TemporaryPathFor(std::string_view host_path);

// Removes the temporary files in `folder` whose process no longer exists: those of
// `file_name` only, or of any name when none is given. A file that another process removed
// first, or a folder that cannot be listed, is no failure.
void RemoveDeadTemporaries(FileSystem& fs, const std::string& folder,
                           std::optional<std::string_view> file_name = std::nullopt);

}  // namespace quellor
