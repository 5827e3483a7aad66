#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/errno_status.h"
#include "platform/helper_process.h"
#include "platform/retry.h"

extern char** environ;

namespace quellor {
namespace {

// Owns one end of a pipe.
class Descriptor final {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// The spawn's settings: /dev/null for standard input and output, the pipe for standard
// error, every other descriptor closed, every signal at its default and none blocked.
class SpawnSettings final {
 public:
  explicit SpawnSettings(int error_fd) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions_, error_fd, 2);
    posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    posix_spawnattr_init(&attributes_);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes_, &none);
    posix_spawnattr_setsigdefault(&attributes_, &all);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSettings() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  const posix_spawn_file_actions_t* actions() const { return &actions_; }
  const posix_spawnattr_t* attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

// Splits what arrives on the helper's standard error into lines.
class LineReader final {
 public:
  explicit LineReader(const std::function<void(std::string_view)>& on_line) : on_line_(on_line) {}

  void Take(std::string_view bytes) {
    pending_.append(bytes);
    std::size_t start = 0;
    for (std::size_t end; (end = pending_.find('\n', start)) != std::string::npos;
         start = end + 1) {
      Line(std::string_view(pending_).substr(start, end - start));
    }
    pending_.erase(0, start);
  }
  void Finish() {
    if (!pending_.empty()) Line(pending_);
    pending_.clear();
  }
  const std::string& last_line() const { return last_line_; }

 private:
  void Line(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return;
    last_line_ = line;
    if (on_line_) on_line_(line);
  }

  const std::function<void(std::string_view)>& on_line_;
  std::string pending_;
  std::string last_line_;
};

// Reads the pipe until it closes; false when nothing came for `stall_timeout`.
bool ReadUntilClosed(int fd, std::chrono::milliseconds stall_timeout, LineReader& lines) {
  char buffer[4096];
  for (;;) {
    pollfd poll_fd = {fd, POLLIN, 0};
    const int ready = RetryOnInterrupt(
        [&] { return poll(&poll_fd, 1, static_cast<int>(stall_timeout.count())); });
    if (ready == 0) return false;
    const ssize_t n = RetryOnInterrupt([&] { return read(fd, buffer, sizeof buffer); });
    if (n <= 0) return true;
    lines.Take(std::string_view(buffer, static_cast<std::size_t>(n)));
  }
}

int WaitFor(pid_t pid) {
  int status = 0;
  RetryOnInterrupt([&] { return waitpid(pid, &status, 0); });
  return status;
}

}  // namespace

Result<HelperOutcome> RunHelper(const std::vector<std::string>& argv,
                                std::chrono::milliseconds stall_timeout,
                                const std::function<void(std::string_view line)>& on_line) {
  if (argv.empty()) return Status::InvalidArgument("no helper program given");
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return ErrnoStatus(argv[0], errno);
  Descriptor read_end(ends[0]);
  Descriptor write_end(ends[1]);

  std::vector<char*> arguments;
  for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);
  pid_t pid = -1;
  {
    const SpawnSettings settings(write_end.get());
    const int error = posix_spawn(&pid, argv[0].c_str(), settings.actions(), settings.attributes(),
                                  arguments.data(), environ);
    if (error != 0) return ErrnoStatus(argv[0], error);
  }
  write_end.Close();  // the helper holds the only writing end now

  LineReader lines(on_line);
  const bool closed = ReadUntilClosed(read_end.get(), stall_timeout, lines);
  if (!closed) kill(pid, SIGKILL);
  const int status = WaitFor(pid);
  lines.Finish();

  HelperOutcome outcome;
  outcome.last_line = lines.last_line();
  if (!closed) {
    outcome.end = HelperOutcome::End::kStalled;
  } else if (WIFSIGNALED(status)) {
    outcome.end = HelperOutcome::End::kSignalled;
    outcome.code = WTERMSIG(status);
  } else {
    outcome.code = WEXITSTATUS(status);
  }
  return outcome;
}

void DieWithParent(int parent_pid) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != static_cast<pid_t>(parent_pid)) _exit(1);  // the parent is gone already
}

}  // namespace quellor
