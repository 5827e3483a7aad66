#include "testing/lock_holder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace quellor::testing {
namespace {

[[noreturn]] void Die(const char* what) {
  std::fprintf(stderr, "lock holder: %s\n", what);
  std::abort();
}

// The helper's whole life; only async-signal-safe calls after fork.
[[noreturn]] void HoldLock(const char* path, int ready_fd, int release_fd) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  char state = 'E';
  if (fd >= 0 && flock(fd, LOCK_EX) == 0) state = 'L';
  if (write(ready_fd, &state, 1) != 1) _exit(2);
  char ignored;
  while (read(release_fd, &ignored, 1) > 0) {
  }
  _exit(0);  // the lock goes with the process
}

}  // namespace

LockHolder::LockHolder(const std::filesystem::path& path) {
  int ready[2], release[2];
  if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(release, O_CLOEXEC) != 0) Die("pipe");
  const std::string target = path.string();
  child_ = fork();
  if (child_ < 0) Die("fork");
  if (child_ == 0) {
    close(ready[0]);
    close(release[1]);
    HoldLock(target.c_str(), ready[1], release[0]);
  }
  close(ready[1]);
  close(release[0]);
  release_fd_ = release[1];
  char state = 0;
  const bool told = read(ready[0], &state, 1) == 1;
  close(ready[0]);
  if (!told || state != 'L') Die("the helper could not lock the path");
}

LockHolder::~LockHolder() { Release(); }

void LockHolder::Release() {
  if (child_ < 0) return;
  close(release_fd_);
  int status = 0;
  while (waitpid(child_, &status, 0) < 0) {
  }
  child_ = -1;
  release_fd_ = -1;
}

}  // namespace quellor::testing
