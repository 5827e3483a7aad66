// A fresh folder under /tmp for one test, removed with everything in it (read-only entries
// too) when the object goes. Its name holds no dot, since a dot in a folder given as a
// project path makes it a file path, and it is short enough for socket paths inside it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace quellor::testing {

class TempDir final {
 public:
  // A folder in `parent`, which must hold no dot either.
  explicit TempDir(const std::filesystem::path& parent = "/tmp");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // path() / relative, as a string.
  std::string Join(std::string_view relative) const;

 private:
  std::filesystem::path path_;
};

// Whole-file helpers for tests: bytes in, bytes out. They abort the test program on failure,
// since a test that cannot set up its files has nothing to check.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);
// Bytes in memory as a string, to compare with what ReadFile gives.
std::string AsText(std::span<const std::uint8_t> bytes);

}  // namespace quellor::testing
