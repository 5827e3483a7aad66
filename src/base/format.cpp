#include "base/format.h"

#include <cstdio>

namespace quellor {

std::string StringVPrintf(const char* format, std::va_list args) {
  std::va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length <= 0) return std::string();
  std::string out(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::string StringPrintf(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string out = StringVPrintf(format, args);
  va_end(args);
  return out;
}

}  // namespace quellor
