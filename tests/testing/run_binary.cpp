#include "testing/run_binary.h"

#include "testing/process_spawn.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace quellor::testing {
namespace {

[[noreturn]] void Die(const char* what) {
  std::fprintf(stderr, "run binary: %s\n", what);
  std::abort();
}

// The child's environment: ours, with the test's changes applied.
std::vector<std::string> ChildEnvironment(const RunOptions& options) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    bool overridden = false;
    for (const auto& change : options.env) overridden |= change.first == name;
    if (!overridden) env.push_back(text);
  }
  for (const auto& [name, value] : options.env) {
    if (value) env.push_back(name + "=" + *value);
  }
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Reads both pipes to their ends, whichever has data, so neither side can block the child.
void Drain(int out_fd, int err_fd, RunResult& result) {
  pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open_count = 2;
  char buffer[65536];
  while (open_count > 0) {
    if (poll(fds, 2, -1) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_count;
      }
    }
  }
}

}  // namespace

std::filesystem::path BinaryPath(const std::string& name) {
  const char* dir = std::getenv("QUELLOR_BIN_DIR");
  if (dir == nullptr || *dir == '\0') Die("QUELLOR_BIN_DIR is not set (run the tests with ctest)");
  return std::filesystem::path(dir) / name;
}

SpawnedProcess SpawnWithPipes(const std::filesystem::path& binary,
                              const std::vector<std::string>& args, const RunOptions& options) {
  std::vector<std::string> argv_texts = {binary.string()};
  argv_texts.insert(argv_texts.end(), args.begin(), args.end());
  std::vector<std::string> env_texts = ChildEnvironment(options);
  std::vector<char*> argv = Pointers(argv_texts);
  std::vector<char*> envp = Pointers(env_texts);
  const std::string dir = options.working_dir.string();

  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) Die("pipe");
  const pid_t child = fork();
  if (child < 0) Die("fork");
  if (child == 0) {
    const int null_fd = open("/dev/null", O_RDONLY);
    if (null_fd < 0 || dup2(null_fd, 0) < 0 || dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0) {
      _exit(126);
    }
    if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(126);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  return {child, out[0], err[0]};
}

RunResult FinishSpawned(const SpawnedProcess& process) {
  RunResult result;
  Drain(process.out_fd, process.err_fd, result);
  int status = 0;
  while (waitpid(process.pid, &status, 0) < 0) {
  }
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

RunResult RunBinary(const std::filesystem::path& binary, const std::vector<std::string>& args,
                    const RunOptions& options) {
  return FinishSpawned(SpawnWithPipes(binary, args, options));
}

}  // namespace quellor::testing
