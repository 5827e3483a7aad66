#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/process.h"

namespace quellor {

int CurrentProcessId() { return static_cast<int>(getpid()); }

bool ProcessExists(int pid) {
  if (pid <= 0) return false;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

void IgnoreFileSizeSignal() { signal(SIGXFSZ, SIG_IGN); }

}  // namespace quellor
