// The shell's copy and delete on Linux.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "platform/env.h"
#include "platform/errno_status.h"
#include "platform/path_resolver.h"
#include "platform/shell.h"
#include "platform/wildcard.h"

namespace quellor {
namespace {

constexpr std::size_t kCopyBlock = 1 << 16;

template <typename F>
auto RetryOnInterrupt(F call) {
  for (;;) {
    auto result = call();
    if (result >= 0 || errno != EINTR) return result;
  }
}

// An owned descriptor, closed when it goes.
class Fd final {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  const int fd_;
};

// The names in a folder, through the file service.
Result<std::vector<std::string>> List(const std::string& folder) {
  return Env::Default().file_system().ListDirectory(folder);
}

// Creates `folder` and its missing parents.
Status MakeFolders(const std::string& folder) {
  struct stat st;
  if (stat(folder.c_str(), &st) == 0) {
    return S_ISDIR(st.st_mode) ? Status::Ok() : ErrnoStatus(folder, ENOTDIR);
  }
  const std::size_t slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0) {
    if (Status parent = MakeFolders(folder.substr(0, slash)); !parent.ok()) return parent;
  }
  // Through the file service, so that a read-only parent refuses the folder as it does every
  // other folder the build makes, also to root.
  Status made = Env::Default().file_system().MakeDirectory(folder);
  if (!made.ok() && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Status::Ok();
  return made;
}

// Makes room for a new entry: an existing file or link at `path` is removed (a read-only one
// too: the copy replaces it without asking).
Status ClearFileEntry(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return Status::Ok();
  if (unlink(path.c_str()) != 0) return ErrnoStatus(path, errno);
  return Status::Ok();
}

Status CopyLink(const std::string& from, const std::string& to) {
  std::string target(4096, '\0');
  const ssize_t n = readlink(from.c_str(), target.data(), target.size());
  if (n < 0) return ErrnoStatus(from, errno);
  target.resize(static_cast<std::size_t>(n));
  if (Status cleared = ClearFileEntry(to); !cleared.ok()) return cleared;
  if (symlink(target.c_str(), to.c_str()) != 0) return ErrnoStatus(to, errno);
  return Status::Ok();
}

Status CopyFile(const std::string& from, const std::string& to, mode_t mode) {
  const Fd in(RetryOnInterrupt([&] { return open(from.c_str(), O_RDONLY | O_CLOEXEC); }));
  if (in.get() < 0) return ErrnoStatus(from, errno);
  if (Status cleared = ClearFileEntry(to); !cleared.ok()) return cleared;
  const Fd out(RetryOnInterrupt(
      [&] { return open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600); }));
  if (out.get() < 0) return ErrnoStatus(to, errno);
  std::vector<char> block(kCopyBlock);
  for (;;) {
    const ssize_t n = RetryOnInterrupt([&] { return read(in.get(), block.data(), block.size()); });
    if (n < 0) return ErrnoStatus(from, errno);
    if (n == 0) break;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w =
          RetryOnInterrupt([&] { return write(out.get(), block.data() + done, n - done); });
      if (w < 0) return ErrnoStatus(to, errno);
      done += w;
    }
  }
  if (fchmod(out.get(), mode & 07777) != 0) return ErrnoStatus(to, errno);
  return Status::Ok();
}

Status CopyEntry(const std::string& from, const std::string& to);

// A copy into the source folder itself would replace files by themselves (losing them) and
// one into a folder below it would never end; the shell refuses both.
bool InsideOrSame(const std::string& destination, const std::string& source) {
  std::error_code ec;
  const std::string dest = std::filesystem::weakly_canonical(destination, ec).string();
  if (ec) return false;
  const std::string src = std::filesystem::weakly_canonical(source, ec).string();
  if (ec) return false;
  return dest == src || (dest.size() > src.size() && dest.compare(0, src.size(), src) == 0 &&
                         dest[src.size()] == '/');
}

// A folder's whole content; its own mode is set last, so that a read-only source folder
// still lets the copy be filled.
Status CopyFolder(const std::string& from, const std::string& to, mode_t mode) {
  if (mkdir(to.c_str(), 0700) != 0 && errno != EEXIST) return ErrnoStatus(to, errno);
  Result<std::vector<std::string>> names = List(from);
  if (!names.ok()) return names.status();
  for (const std::string& name : *names) {
    if (Status copied = CopyEntry(from + "/" + name, to + "/" + name); !copied.ok()) return copied;
  }
  if (chmod(to.c_str(), mode & 07777) != 0) return ErrnoStatus(to, errno);
  return Status::Ok();
}

Status CopyEntry(const std::string& from, const std::string& to) {
  struct stat st;
  if (lstat(from.c_str(), &st) != 0) return ErrnoStatus(from, errno);
  if (S_ISLNK(st.st_mode)) return CopyLink(from, to);
  if (S_ISDIR(st.st_mode)) return CopyFolder(from, to, st.st_mode);
  // A pipe or a device would block the copy or copy without end.
  if (!S_ISREG(st.st_mode)) return Status::Unsupported(from + ": not a file or folder");
  return CopyFile(from, to, st.st_mode);
}

}  // namespace

Status CopyFolderEntries(std::string_view destination_folder, std::string_view source_folder,
                         std::string_view pattern) {
  if (pattern.empty()) return Status::InvalidArgument("no pattern to copy");
  Result<std::string> source = ResolvePath(source_folder);
  if (!source.ok()) return source.status();
  struct stat st;
  if (stat(source->c_str(), &st) != 0) return ErrnoStatus(*source, errno);
  if (!S_ISDIR(st.st_mode)) return ErrnoStatus(*source, ENOTDIR);
  Result<std::vector<std::string>> names = List(*source);
  if (!names.ok()) return names.status();
  Result<std::string> destination = ResolvePath(destination_folder);
  if (!destination.ok()) return destination.status();
  if (InsideOrSame(*destination, *source)) {
    return Status::InvalidArgument(*destination + ": the destination lies within the source " +
                                   *source);
  }
  if (Status made = MakeFolders(*destination); !made.ok()) return made;
  const std::string utf8_pattern = Cp1252ToUtf8(pattern);
  for (const std::string& name : *names) {
    if (!MatchesWildcard(utf8_pattern, name)) continue;
    if (Status copied = CopyEntry(*source + "/" + name, *destination + "/" + name); !copied.ok()) {
      return copied;
    }
  }
  return Status::Ok();
}

Status DeleteFileSilently(std::string_view windows_path) {
  Result<std::string> host = ResolvePath(windows_path);
  if (!host.ok()) return host.status();
  if (unlink(host->c_str()) != 0) return ErrnoStatus(*host, errno);
  return Status::Ok();
}

}  // namespace quellor
