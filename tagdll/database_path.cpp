#include "tagdll/database_path.h"

#include <algorithm>

#include "base/cp1252.h"

namespace quellor::tagdll {

// For now the path is taken as it stands: its text converted to UTF-8 and '\' read as '/'.
// The platform's path resolver (drive letters through the machine's prefix, components found
// without regard to case) replaces this body, so that the library finds the database by the
// same rules as every other file the program opens.
std::string ResolveDatabasePath(std::string_view program_path) {
  std::string path = Cp1252ToUtf8(program_path);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace quellor::tagdll
