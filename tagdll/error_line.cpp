#include "tagdll/error_line.h"

#include <cstdio>
#include <string>

namespace quellor::tagdll {

void WriteErrorLine(std::string_view why) {
  const std::string line = "libtagdll.so: " + std::string(why) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace quellor::tagdll
