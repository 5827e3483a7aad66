// measure OUT COMMAND [ARGS...]: runs COMMAND with this process's standard streams and writes
// "wall_seconds cpu_seconds peak_resident_kB" to OUT, the CPU time (user + system) and peak
// resident memory of COMMAND and its children from wait4 in microseconds, the wall time from
// the monotonic clock. Exits with COMMAND's exit code (128 + the signal when a signal ended
// it, 127 when it could not be started). The scale table's clock: GNU time prints CPU times
// in hundredths, too coarse for the small plants' share of a ratio.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: measure OUT COMMAND [ARGS...]\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("measure: fork");
    return 2;
  }
  if (child == 0) {
    execvp(argv[2], argv + 2);
    std::perror("measure: exec");
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) {
    std::perror("measure: wait4");
    return 2;
  }
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror("measure: OUT");
    return 2;
  }
  std::fprintf(out, "%.4f %.4f %ld\n", wall.count(),
               seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss);
  std::fclose(out);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}
