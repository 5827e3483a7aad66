// The machine's registry, read-only: the keys and values of the prefix's *.reg files (the
// regedit export format, see docs/formats/registry-files.md), loaded in name order, later
// files winning. Key and value names compare without regard to ASCII case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "base/status.h"

namespace quellor {

enum class RegistryRoot { kLocalMachine, kCurrentUser, kClassesRoot };

// Value types as the registry numbers them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// The buffer the program reads registry texts into.
inline constexpr std::size_t kRegistryTextBuffer = 260;

struct RegistryValue {
  std::string name;  // as last written; "" for the default value
  std::uint32_t type = kRegSz;
  // Strings: their Windows-1252 text (without a terminating NUL unless the file gave one as
  // hex data). Other types: the raw bytes.
  std::string data;
};

class Registry final {
 public:
  Registry() = default;

  // Every *.reg file of the prefix, in byte order of their names. A file without a valid
  // header is skipped with one line on standard error.
  static Registry LoadFromPrefix();

  // Applies one file's keys, values and deletions over what is loaded. A file without a valid
  // header changes nothing and is kCorruption; damaged lines within a file are skipped.
  Status AddFile(std::string_view bytes);

  // As RegOpenKeyEx: a trailing backslash is accepted; "" is the root itself. Under
  // HKEY_LOCAL_MACHINE\SOFTWARE the 32-bit view applies (WOW6432Node, when that key exists).
  bool KeyExists(RegistryRoot root, std::string_view subkey) const;

  // As RegQueryValueExA into a buffer of `buffer_size` bytes: a string value with its NUL
  // must fit (259 characters fit 260 bytes; 260 do not, kInvalidArgument "more data").
  // A missing key or value is kNotFound; "" names the default value. Non-string values come
  // back as their raw bytes.
  Result<std::string> QueryString(RegistryRoot root, std::string_view subkey,
                                  std::string_view value_name,
                                  std::size_t buffer_size = kRegistryTextBuffer) const;

 private:
  friend class RegFileParser;
  struct Key {
    std::map<std::string, RegistryValue> values;  // by upper-cased name
  };

  // Keys by their upper-cased full path ("HKEY_LOCAL_MACHINE\SOFTWARE\X"); a key's parents
  // are present too.
  const Key* FindKey(RegistryRoot root, std::string_view subkey) const;
  Key& CreateKey(const std::string& full_path);
  void DeleteTree(const std::string& full_path);

  std::map<std::string, Key> keys_;
};

}  // namespace quellor
