// The shell's file operations the program uses: copying a template application's files into
// an application folder, and deleting one file without any message.
#pragma once

#include <string_view>

#include "base/status.h"

namespace quellor {

// As the shell's copy of "source\pattern" to a folder with no progress, yes to everything and
// no confirmation for new folders: every entry of `source_folder` matching the Windows
// wildcard `pattern` (wildcard.h) is copied into `destination_folder`, which is created (with
// missing parents, by the file service, so a read-only parent refuses them) when needed. A matched
// folder is copied with everything in it; existing files are replaced, read-only ones too;
// permission bits are kept; symbolic links are copied as links. A missing source folder is
// kNotFound and creates nothing. An empty pattern, or a destination that is the source folder or
// lies within it, is kInvalidArgument.
Status CopyFolderEntries(std::string_view destination_folder, std::string_view source_folder,
                         std::string_view pattern);

// As the shell's delete of one file with no user interface at all: a missing file is
// kNotFound, for the caller to ignore.
Status DeleteFileSilently(std::string_view windows_path);

}  // namespace quellor
