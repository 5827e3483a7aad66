#include "access/access_test_files.h"

namespace quellor::testing {

std::filesystem::path AccessTestFile(std::string_view name) {
  return std::filesystem::path(QUELLOR_ACCESS_TEST_DATA) / name;
}

std::filesystem::path ChangedCopy(const TempDir& dir, std::string_view name,
                                  std::string_view copy_name,
                                  const std::function<void(std::string& bytes)>& change) {
  std::string bytes = ReadFile(AccessTestFile(name));
  change(bytes);
  const std::filesystem::path copy = dir.path() / copy_name;
  WriteFile(copy, bytes);
  return copy;
}

}  // namespace quellor::testing
