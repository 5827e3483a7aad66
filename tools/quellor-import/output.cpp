// quellor-import's output: whole lines, standard output flushed before an error line so that
// the two streams read in order on a terminal.
#include <cstdio>
#include <string>

#include "quellor-import/import_command.h"

namespace quellor::import_tool {

void PrintLine(std::string_view line) {
  const std::string text = std::string(line) + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void PrintErrorLine(std::string_view line) {
  std::fflush(stdout);
  const std::string text = std::string(line) + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace quellor::import_tool
