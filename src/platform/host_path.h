// Host paths (UTF-8, '/' between components) taken apart and put together. Apart from
// WeaklyCanonical, which asks the file service, these work on the text alone.
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"

namespace quellor {

class FileSystem;

// The folder holding the entry at `host_path`: "." for a bare name, "/" for an entry at the
// root.
std::string ParentFolder(std::string_view host_path);
// The last component of `host_path`.
std::string_view FinalName(std::string_view host_path);
// `name` inside `folder` ("" stands for the working folder).
std::string JoinHostPath(std::string_view folder, std::string_view name);

// One name for an entry however it was reached: the longest leading part of `host_path` that
// exists, made absolute with every symbolic link, "." and ".." resolved (RealPath of the file
// service), followed by the rest with "." and ".." taken lexically; a relative path of which
// nothing exists stays relative. As std::filesystem's weakly_canonical, but through `fs`, so
// that a file service of a test sees the path.
Result<std::string> WeaklyCanonical(FileSystem& fs, std::string_view host_path);

}  // namespace quellor
