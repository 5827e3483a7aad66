// A helper program run under a watchdog: how the program runs code it does not trust to stay
// up (a library that is not hardened against hostile files). The helper is executed, never a
// fork of this process running our code: it starts with standard input from /dev/null,
// standard output discarded, no other descriptor of ours (a build window's socket, a held
// lock) and default signal handling. Its standard error comes back line by line; a helper
// that writes nothing for the stall timeout is killed.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace quellor {

struct HelperOutcome {
  enum class End {
    kExited,     // `code` is its exit status
    kSignalled,  // `code` is the signal that ended it
    kStalled,    // it wrote nothing for the stall timeout and was killed
  };
  End end = End::kExited;
  int code = 0;
  std::string last_line;  // the last line it wrote on standard error, without its line end
};

// Runs `argv` (argv[0] the program's path) to its end. `on_line` sees each line of its
// standard error as it comes. Fails only when the program cannot be started.
Result<HelperOutcome> RunHelper(const std::vector<std::string>& argv,
                                std::chrono::milliseconds stall_timeout,
                                const std::function<void(std::string_view line)>& on_line = {});

// For the helper itself, first thing: ends this process when `parent_pid` ends (at once when
// it is gone already), so that a helper never outlives the build that started it.
void DieWithParent(int parent_pid);

}  // namespace quellor
