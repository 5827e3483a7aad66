// Private-profile (.ini) files with the Windows profile functions' behaviour: sections and
// keys compared without case, the first of duplicates winning, whole-line ";" comments, one
// outer pair of quotes removed from a value. A file name without a separator names a file in
// the machine's Windows folder (the prefix); any other goes through path resolution.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/status.h"

namespace quellor {

// As GetPrivateProfileStringA with a buffer of `buffer_size` bytes: the value, else the
// default (trailing spaces removed), cut to buffer_size - 1 characters. A missing file,
// section or key, an empty section or key name, or a key line without "=" give the default.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    std::string_view file);

// As GetPrivateProfileIntA: the decimal value (an optional sign, digits up to the first other
// character, wrapping modulo 2^32; no digit is 0), or the default when the value is missing
// or empty. The result is the 32-bit pattern: "-1" is -1 (0xFFFFFFFF).
std::int32_t GetPrivateProfileInt(std::string_view section, std::string_view key,
                                  std::int32_t default_value, std::string_view file);

// As GetProfileStringA: the per-user profile, win.ini of the machine.
std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view default_value, std::size_t buffer_size);

struct ProfileEntry {
  std::string_view key;
  std::string_view value;
};

// As WritePrivateProfileStringA for each entry in order, in one atomic replacement of the
// file (created when missing; its folder must exist). Every other line stays byte for byte;
// a key found is rewritten as "Key=value" in its existing spelling, a new key goes after the
// last non-blank line of its section, a new section to the end of the file; written lines
// end in CR LF. A section, key or value holding CR or LF is refused (kInvalidArgument), as
// is an empty section or key; an empty file name is kPermissionDenied.
Status WritePrivateProfileStrings(std::string_view section, std::span<const ProfileEntry> entries,
                                  std::string_view file);
Status WritePrivateProfileString(std::string_view section, std::string_view key,
                                 std::string_view value, std::string_view file);

// The host path of a profile file name, by the rule above.
Result<std::string> ResolveProfilePath(std::string_view file);

}  // namespace quellor
