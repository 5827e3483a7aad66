// The real Access files of the test data (tests/testdata/access, with their provenance in
// its README), and copies of them with bytes changed, for the tests of the import.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "testing/temp_dir.h"

namespace quellor::testing {

inline constexpr std::string_view kNwind = "nwind.mdb";               // Jet 3
inline constexpr std::string_view kAssets = "ASampleDatabase.accdb";  // ACE 12

std::filesystem::path AccessTestFile(std::string_view name);

// A copy of the test file `name` in `dir`, named `copy_name`, its bytes changed by `change`.
std::filesystem::path ChangedCopy(const TempDir& dir, std::string_view name,
                                  std::string_view copy_name,
                                  const std::function<void(std::string& bytes)>& change);

}  // namespace quellor::testing
