// Files of an application folder that a build removes.
#pragma once

#include <string_view>

namespace quellor {

// Deletes `folder`\`name` (only `folder` when `name` is empty) without any message or
// confirmation: a missing or undeletable file is no error, and the build goes on. Only a file
// is deleted, never a folder.
void DeleteAppFile(std::string_view folder, std::string_view name);

}  // namespace quellor
