// Another process that holds an exclusive advisory lock (flock) on a file or a folder, as a
// second Quellor build would, until the test lets it go. Synchronised through pipes: the
// constructor returns once the lock is held, Release() once it is given up. Never a sleep.
#pragma once

#include <sys/types.h>

#include <filesystem>

namespace quellor::testing {

class LockHolder final {
 public:
  // Blocks until the helper process holds the lock on `path` (which must exist).
  explicit LockHolder(const std::filesystem::path& path);
  ~LockHolder();  // releases, if not done yet
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  // Lets go of the lock and waits until the helper process has ended.
  void Release();

 private:
  pid_t child_ = -1;
  int release_fd_ = -1;  // closing it tells the helper to let go
};

}  // namespace quellor::testing
