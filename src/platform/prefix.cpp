#include "platform/prefix.h"

#include <cstdlib>
#include <filesystem>

namespace quellor {

PrefixLocation LocatePrefix() {
  const char* prefix = std::getenv("QUELLOR_PREFIX");
  if (prefix != nullptr && *prefix != '\0') {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(prefix, ec);
    return {ec ? std::string(prefix) : absolute.string(), PrefixChoice::kQuellorPrefix};
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return {(std::filesystem::path(home) / ".quellor").string(), PrefixChoice::kHome};
}

std::string PrefixDir() { return LocatePrefix().dir; }

void UsePrefixDir(const std::string& dir) {
  setenv("QUELLOR_PREFIX", dir.c_str(), /*overwrite=*/1);
}

}  // namespace quellor
