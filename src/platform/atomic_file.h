// Whole-file outputs replaced atomically: a crash leaves the old file or the new one, never a
// torn one, while the program's open rules still decide whether the file may be written.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/status.h"
#include "platform/file_system.h"

namespace quellor {

// Writes a file's new content into `out`, a new empty file open for writing, in one write or in
// pieces (file_appender.h); a failure it returns ends the replacement.
using ContentWriter = std::function<Status(File& out)>;

struct ReplaceOptions {
  bool create_if_missing = true;  // false: a missing target is NotFound
};

// Replaces the file at `windows_path` with `bytes`. A missing target (where one may be created)
// is written under its temporary name, synced and renamed into place with a rename that never
// replaces, so that it appears whole or not at all; when another process made it meanwhile, it
// is replaced as an existing target is:
// 1. opens the resolved target for writing as the program would (created only when allowed,
//    never truncated, the read-only rule applied) and takes its lock without waiting, so a
//    read-only or held file fails as the program's open would; a lock this process holds on
//    the path already (path_lock.h) stands for it;
// 2. removes leftover temporary files of the same name whose process is gone;
// 3. writes ".~NAME.PID" beside the target (temporary_file.h) with the target's mode, syncs it,
//    renames it over the target (over the file a symbolic link points to, so the link stays a
//    link), syncs the folder.
// On failure the temporary file is removed, and the target too when this attempt created it.
Status ReplaceFileAtomically(std::string_view windows_path, std::string_view bytes,
                             const ReplaceOptions& options = {});
// The same with content that `write_content` writes, for an output too large to build whole.
Status ReplaceFileAtomically(std::string_view windows_path, const ContentWriter& write_content,
                             const ReplaceOptions& options = {});

// The same on a host path that is resolved already.
Status ReplaceHostFileAtomically(const std::string& host_path, std::string_view bytes,
                                 const ReplaceOptions& options = {});
Status ReplaceHostFileAtomically(const std::string& host_path, const ContentWriter& write_content,
                                 const ReplaceOptions& options = {});

}  // namespace quellor
