// The spawning underneath RunBinary and BackgroundProcess: a child with no standard input and
// its two output streams on pipes.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "testing/run_binary.h"

namespace quellor::testing {

struct SpawnedProcess {
  pid_t pid;
  int out_fd;
  int err_fd;
};

SpawnedProcess SpawnWithPipes(const std::filesystem::path& binary,
                              const std::vector<std::string>& args, const RunOptions& options);
// Reads both pipes to their ends, closes them and waits for the child.
RunResult FinishSpawned(const SpawnedProcess& process);

}  // namespace quellor::testing
