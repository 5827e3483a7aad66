// quellor-import's commands and what they share: the exit codes and the output lines.
#pragma once

#include <string>
#include <string_view>

namespace quellor::import_tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitAccessUnreadable = 1;  // the Access file (or a linked one)
inline constexpr int kExitUsage = 2;
inline constexpr int kExitTargetUnwritable = 3;  // the SQLite file

struct ImportRequest {
  std::string access_path;
  std::string sqlite_path;
  bool force = false;     // replace an existing SQLite file
  bool progress = false;  // report progress whatever the size of the Access file
};

// Imports into a temporary file beside the target, synced, then renamed into place.
int RunImport(const ImportRequest& request);
// Prints each table with its row count and each saved query with its type and Access SQL.
int RunList(const std::string& access_path);

// One line on standard error.
void PrintErrorLine(std::string_view line);
// One line on standard output.
void PrintLine(std::string_view line);

}  // namespace quellor::import_tool
