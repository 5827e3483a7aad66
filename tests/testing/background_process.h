// A built binary running beside the test (a build window, a second build), with standard
// output and standard error captured separately. The test synchronises on lines the process
// writes to standard error, never on time.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "testing/run_binary.h"

namespace quellor::testing {

class BackgroundProcess final {
 public:
  BackgroundProcess(const std::filesystem::path& binary, const std::vector<std::string>& args,
                    const RunOptions& options = {});
  ~BackgroundProcess();  // kills the process if the test did not wait for it
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  // Blocks until the process has written a whole line to standard error, and returns it
  // without its line end; empty once standard error has closed.
  std::string ReadErrorLine();
  // The same on standard output (a build's progress lines).
  std::string ReadOutputLine();
  // Waits for the end of the process; out and err hold everything it wrote (without the lines
  // already read).
  RunResult Wait();

 private:
  static std::string ReadLine(int fd, std::string& pending);

  pid_t pid_ = -1;
  int out_fd_ = -1;
  int err_fd_ = -1;
  std::string err_pending_;
  std::string out_pending_;
};

}  // namespace quellor::testing
