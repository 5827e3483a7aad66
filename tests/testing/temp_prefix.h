// A machine of the test's own: a temporary folder set as QUELLOR_PREFIX for the object's
// scope (the previous value is restored afterwards). Tests run one per process, so the
// environment is the test's alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "testing/temp_dir.h"

namespace quellor::testing {

// Sets an environment variable for a scope, or unsets it when `value` is nullopt.
class ScopedEnv final {
 public:
  ScopedEnv(std::string name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

class TempPrefix final {
 public:
  TempPrefix();

  const std::filesystem::path& path() const { return dir_.path(); }
  // Writes a file into the prefix (a `.reg` file, win.ini, ...), creating its folders.
  void AddFile(std::string_view relative, std::string_view bytes) const;
  // Maps the drive letter to a host folder, as dosdevices/x: does.
  void MapDrive(char letter, const std::filesystem::path& target) const;

 private:
  TempDir dir_;
  ScopedEnv env_;
};

}  // namespace quellor::testing
