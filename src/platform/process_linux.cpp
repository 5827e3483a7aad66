#include <malloc.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/process.h"

namespace quellor {

std::uint32_t FileModeMask() {
  // The mask can only be read by setting it; it is put back at once (the program has one thread).
  const mode_t mask = umask(0);
  umask(mask);
  return static_cast<std::uint32_t>(mask);
}

int CurrentProcessId() { return static_cast<int>(getpid()); }

std::string CurrentProgramFolder() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path));
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof(path)) return {};
  const std::string program(path, static_cast<std::size_t>(length));
  return program.substr(0, program.find_last_of('/'));
}

bool ProcessExists(int pid) {
  if (pid <= 0) return false;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

void IgnoreFileSizeSignal() { signal(SIGXFSZ, SIG_IGN); }

void KeepFreedMemoryForReuse() {
  constexpr int kMiB = 1 << 20;
  mallopt(M_MMAP_THRESHOLD, 128 * kMiB);  // above the largest dictionary's records
  mallopt(M_TRIM_THRESHOLD, 256 * kMiB);
}

namespace {

void ExitAfterFlush(int exit_code) {
  std::fflush(stdout);
  std::exit(exit_code);
}

EndProcessHandler g_end_process = ExitAfterFlush;

}  // namespace

void EndProcess(int exit_code) {
  g_end_process(exit_code);
  std::abort();  // a handler that returned broke its contract
}

EndProcessHandler SetEndProcessHandler(EndProcessHandler handler) {
  const EndProcessHandler previous = g_end_process;
  g_end_process = handler != nullptr ? handler : ExitAfterFlush;
  return previous;
}

}  // namespace quellor
