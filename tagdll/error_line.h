// The library's one way to say why something failed that the program's own messages cannot
// name: one line on standard error, "libtagdll.so: " and the reason, in one write.
#pragma once

#include <string_view>

namespace quellor::tagdll {

void WriteErrorLine(std::string_view why);

}  // namespace quellor::tagdll
