// Joins texts into one string with one allocation, as abseil's StrCat does. Chains of
// "literal" + std::string make g++ 12 at -O3 warn falsely (-Wrestrict); this has no such
// chain, and reads as what it is.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace quellor {

inline std::string StrCat(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (const std::string_view part : parts) size += part.size();
  std::string joined;
  joined.reserve(size);
  for (const std::string_view part : parts) joined.append(part);
  return joined;
}

template <typename... Parts>
std::string StrCat(const Parts&... parts) {
  return StrCat({std::string_view(parts)...});
}

}  // namespace quellor
