// Where the project database named by the program lies on this host.
#pragma once

#include <string>
#include <string_view>

namespace quellor::tagdll {

// The host path (UTF-8) of a database path as the program composes it (Windows-1252, '\' or
// '/' separating its components).
std::string ResolveDatabasePath(std::string_view program_path);

}  // namespace quellor::tagdll
