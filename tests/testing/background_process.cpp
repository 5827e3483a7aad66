#include "testing/background_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "testing/process_spawn.h"

namespace quellor::testing {

BackgroundProcess::BackgroundProcess(const std::filesystem::path& binary,
                                     const std::vector<std::string>& args,
                                     const RunOptions& options) {
  const SpawnedProcess spawned = SpawnWithPipes(binary, args, options);
  pid_ = spawned.pid;
  out_fd_ = spawned.out_fd;
  err_fd_ = spawned.err_fd;
}

BackgroundProcess::~BackgroundProcess() {
  if (pid_ < 0) return;
  kill(pid_, SIGKILL);
  Wait();
}

std::string BackgroundProcess::ReadErrorLine() { return ReadLine(err_fd_, err_pending_); }

std::string BackgroundProcess::ReadOutputLine() { return ReadLine(out_fd_, out_pending_); }

std::string BackgroundProcess::ReadLine(int fd, std::string& pending) {
  while (true) {
    const std::size_t end = pending.find('\n');
    if (end != std::string::npos) {
      std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      return line;
    }
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::string();
    pending.append(buffer, static_cast<std::size_t>(n));
  }
}

RunResult BackgroundProcess::Wait() {
  RunResult result = FinishSpawned({pid_, out_fd_, err_fd_});
  result.err.insert(0, err_pending_);
  result.out.insert(0, out_pending_);
  err_pending_.clear();
  out_pending_.clear();
  pid_ = -1;
  return result;
}

}  // namespace quellor::testing
