#include "apps/app_files.h"

#include <string>

#include "platform/shell.h"

namespace quellor {

void DeleteAppFile(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!name.empty()) {
    path += '\\';
    path += name;
  }
  // The outcome is of no interest: the file is stale, and a missing one is what is wanted.
  (void)DeleteFileSilently(path);
}

}  // namespace quellor
