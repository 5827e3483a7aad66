// The two real Access files imported once per test process (in-process, through the
// import's own entry), for the tests that read what the import wrote.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quellor::testing {

// The SQLite database imported from the Access test file `name`. An import that fails
// aborts the test program, since nothing can be checked without it.
const std::filesystem::path& ImportedTestFile(std::string_view name);

// One value read from the imported database of `name`, as QueryOne reads it.
std::string ImportedValue(std::string_view name, const std::string& sql);

}  // namespace quellor::testing
