// Runs a built binary as the end-to-end tests do: no standard input, standard output and
// standard error captured separately, environment and working folder chosen by the test.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quellor::testing {

struct RunOptions {
  // Variables set (or, with nullopt, removed) on top of the test's own environment.
  std::vector<std::pair<std::string, std::optional<std::string>>> env;
  std::filesystem::path working_dir;  // empty: the test's own
};

struct RunResult {
  int exit_code = -1;  // the exit status, or 128 + the signal that ended the process
  std::string out;
  std::string err;
};

// The path of a binary built into the build's bin folder (QUELLOR_BIN_DIR, set by CTest).
std::filesystem::path BinaryPath(const std::string& name);

RunResult RunBinary(const std::filesystem::path& binary, const std::vector<std::string>& args,
                    const RunOptions& options = {});

}  // namespace quellor::testing
