// quellor-import ACCESS_FILE SQLITE_FILE, quellor-import --list ACCESS_FILE: the options,
// the usage text and the version.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/helper_process.h"
#include "quellor-import/import_command.h"
#include "tagdll/access/import_version.h"

namespace quellor::import_tool {
namespace {

constexpr char kUsage[] =
    "usage: quellor-import [--force] [--progress] ACCESS_FILE SQLITE_FILE\n"
    "       quellor-import --list ACCESS_FILE\n"
    "Imports an Access project database (Jet 3, Jet 4 or ACE: .mdb, .accdb) into a new SQLite\n"
    "project database: every table with its rows, primary key and indexes (tables linked\n"
    "from other Access files from those files), and the saved queries as Access SQL in the\n"
    "table SavedQueries. The Access file is only read.\n"
    "  --force     replace SQLITE_FILE if it exists\n"
    "  --progress  report progress on standard error (always done for files of 32 MB or more)\n"
    "  --list      print each table with its row count, and each saved query with its type\n"
    "              and its Access SQL\n"
    "  --help      print this text;  --version  print the version\n"
    "Errors and warnings go to standard error, one line each.\n"
    "exit codes: 0 done, 1 the Access file cannot be read, 2 bad usage, 3 the SQLite file\n"
    "cannot be written\n";

int Usage(const std::string& problem) {
  PrintErrorLine("quellor-import: " + problem);
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

int Run(const std::vector<std::string>& args) {
  bool list = false;
  ImportRequest request;
  std::vector<std::string> operands;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--watched" && i + 1 < args.size()) {
      // Run as the library's helper: end with the build that started it.
      DieWithParent(std::atoi(args[++i].c_str()));
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
    if (arg == "--version") {
      std::printf("quellor-import %s (import version %d)\n", QUELLOR_VERSION,
                  tagdll::access::kImportVersion);
      return kExitOk;
    }
    if (arg == "--list") {
      list = true;
    } else if (arg == "--force") {
      request.force = true;
    } else if (arg == "--progress") {
      request.progress = true;
    } else if (arg.starts_with("-") && arg != "-") {
      return Usage("unknown option " + arg);
    } else {
      operands.push_back(arg);
    }
  }
  if (list) {
    if (operands.size() != 1 || request.force) return Usage("--list takes one ACCESS_FILE");
    return RunList(operands[0]);
  }
  if (operands.size() != 2) return Usage("an ACCESS_FILE and a SQLITE_FILE are needed");
  request.access_path = operands[0];
  request.sqlite_path = operands[1];
  return RunImport(request);
}

}  // namespace
}  // namespace quellor::import_tool

int main(int argc, char** argv) {
  // mdbtools' library reads these: a character set for its text and debugging options. Text
  // must come out as UTF-8 and the output must be the import's alone.
  unsetenv("MDBICONV");
  unsetenv("MDB_JET3_CHARSET");
  unsetenv("MDBOPTS");
  const int code = quellor::import_tool::Run(std::vector<std::string>(argv + 1, argv + argc));
  std::fflush(stdout);
  return code;
}
