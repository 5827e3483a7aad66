// The program's file operations on its own (Windows-1252) paths: each resolves the path
// (path_resolver.h) and goes through the environment's file service (env.h).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/status.h"
#include "platform/file_system.h"

namespace quellor {

// The whole content of a file opened shared (no lock taken, none honoured).
Result<std::string> ReadWholeFile(std::string_view windows_path);
// The whole content of an open file, from its start.
Result<std::string> ReadAll(File& file);
// Fills `out` from `offset`; kCorruption when the file ends first.
Status ReadAtExactly(File& file, std::uint64_t offset, std::span<std::uint8_t> out);

// Whether an entry of that name exists (a file, a folder, anything).
bool PathExists(std::string_view windows_path);
bool IsDirectory(std::string_view windows_path);

// As the runtime's _mkdir: one folder; fails if it exists or its parent is missing.
Status MakeDirectory(std::string_view windows_path);
Status RemoveFile(std::string_view windows_path);

enum class ExclusiveCreation { kOpenExisting, kCreateIfMissing };

// An open that shares the file with no other opener: an advisory lock held for the life of
// the handle, refused with kHeld while another holder has it. Read and write access; the
// file is never truncated. The read-only rule applies (kPermissionDenied).
Result<std::unique_ptr<File>> OpenExclusive(std::string_view windows_path,
                                            ExclusiveCreation creation);

}  // namespace quellor
