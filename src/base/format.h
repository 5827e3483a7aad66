// printf-style formatting into a string that always fits: the program's message formats are
// used as they stand, and a message is never cut to a buffer size.
#pragma once

#include <cstdarg>
#include <string>

namespace quellor {

std::string StringPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string StringVPrintf(const char* format, std::va_list args)
    __attribute__((format(printf, 1, 0)));

}  // namespace quellor
