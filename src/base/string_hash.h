// StringHash: hashing for unordered containers keyed by std::string that lets a
// std::string_view look a key up without making a string of it (with std::equal_to<>).
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace quellor {

struct StringHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};

}  // namespace quellor
