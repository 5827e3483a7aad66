// Windows file-name wildcards, as FindFirstFile matches them.
#pragma once

#include <string_view>

namespace quellor {

// "*" matches any run of characters, "?" exactly one, everything else itself without regard
// to ASCII case. A pattern ending in ".*" also matches names without a dot by its part before
// the ".*": "*.*" matches every name, "a*.*" also "abc".
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace quellor
