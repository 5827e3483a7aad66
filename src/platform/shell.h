// The shell's file operations the program uses: copying a template application's files into
// an application folder, and deleting one file without any message.
#pragma once

#include <string_view>

#include "base/status.h"

namespace quellor {

// As the shell's copy of "source\pattern" to a folder with no progress, yes to everything and
// no confirmation for new folders: every entry of `source_folder` matching the Windows
// wildcard `pattern` (wildcard.h) is copied into `destination_folder`, which is created (with
// missing parents, so a read-only parent refuses them) when needed. A matched folder is copied
// with everything in it; existing files are replaced, read-only ones too; permission bits are
// kept; symbolic links are copied as links. A missing source folder is kNotFound and creates
// nothing. An empty pattern, or a destination that is the source folder or lies within it, is
// kInvalidArgument.
//
// Every file and link is written under a temporary name (temporary_file.h), synced and renamed
// into place, so an entry of the destination is never a part of its source; the entry named
// `last_entry` (without regard to case), when the pattern matches it, is copied after
// everything else is on the disk. A folder that holds `last_entry` therefore holds the whole
// copy, and a copy that ended early (killed, or failed) can simply be made again; its
// temporary files are removed then. Everything goes through the file service (env.h).
Status CopyFolderEntries(std::string_view destination_folder, std::string_view source_folder,
                         std::string_view pattern, std::string_view last_entry = {});

// As the shell's delete of one file with no user interface at all: a missing file is
// kNotFound, for the caller to ignore.
Status DeleteFileSilently(std::string_view windows_path);

}  // namespace quellor
