// The host's file system: every file-system call of the platform layer on Linux.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>   // renameat2
#include <cstdlib>  // realpath
#include <memory>
#include <string>

#include "platform/errno_status.h"
#include "platform/file_system.h"
#include "platform/host_path.h"
#include "platform/retry.h"

namespace quellor {
namespace {

constexpr bool HasWriteBit(mode_t mode) { return (mode & 0222) != 0; }

FileType TypeOf(mode_t mode) {
  if (S_ISREG(mode)) return FileType::kRegular;
  if (S_ISDIR(mode)) return FileType::kDirectory;
  if (S_ISLNK(mode)) return FileType::kSymlink;
  return FileType::kOther;
}

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileInfo InfoOf(const struct stat& st) {
  return {TypeOf(st.st_mode),
          static_cast<std::uint32_t>(st.st_mode & 07777),
          static_cast<std::uint64_t>(st.st_size),
          static_cast<std::uint64_t>(st.st_ino),
          Nanoseconds(st.st_mtim),
          Nanoseconds(st.st_ctim)};
}

Status ReadOnlyStatus(const std::string& path) {
  return Status::PermissionDenied(path + ": read-only");
}

// Refuses writing where the Windows read-only attribute would: no write bit on the file when
// it is opened for writing, or on its folder when the file is to be created. Root is refused
// too. Other failures are left to the open itself.
Status CheckReadOnlyRule(const std::string& path, const OpenOptions& options) {
  const bool writes = options.access == FileAccess::kReadWrite;
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    return !writes || HasWriteBit(st.st_mode) || S_ISDIR(st.st_mode) ? Status::Ok()
                                                                     : ReadOnlyStatus(path);
  }
  if (errno != ENOENT || options.creation == FileCreation::kOpenExisting) return Status::Ok();
  const std::string parent = ParentFolder(path);
  if (stat(parent.c_str(), &st) == 0 && !HasWriteBit(st.st_mode)) return ReadOnlyStatus(parent);
  return Status::Ok();
}

class PosixFile final : public File {
 public:
  PosixFile(int fd, std::string path, bool created)
      : fd_(fd), path_(std::move(path)), created_(created) {}
  ~PosixFile() override { close(fd_); }  // closing releases the lock
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = RetryOnInterrupt([&] {
        return pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
      });
      if (n < 0) return ErrnoStatus(path_, errno);
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    return done;
  }

  Result<FileImage> ReadImage(std::size_t size) override {
    // Mapped only within the file's present size, and read where it cannot be mapped or where
    // memory of the process's own is at hand.
    const Result<std::uint64_t> file_size = Size();
    if (size == 0 || !file_size.ok() || *file_size < size || FileImage::SpareHolds(size)) {
      return File::ReadImage(size);
    }
    void* const address = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd_, 0);
    if (address == MAP_FAILED) return File::ReadImage(size);
    // The pages are entered now, in one call, rather than one fault at a time; read-only, so
    // that they stay the file's cached pages until written. Without it they come on demand.
    madvise(address, size, MADV_POPULATE_READ);
    return FileImage::Mapping(address, size);
  }

  Status WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    std::size_t done = 0;
    while (done < data.size()) {
      const ssize_t n = RetryOnInterrupt([&] {
        return pwrite(fd_, data.data() + done, data.size() - done,
                      static_cast<off_t>(offset + done));
      });
      if (n < 0) return ErrnoStatus(path_, errno);
      done += static_cast<std::size_t>(n);
    }
    return Status::Ok();
  }

  Result<std::uint64_t> Size() override {
    Result<FileInfo> info = Stat();
    if (!info.ok()) return info.status();
    return info->size;
  }

  Status Extend(std::uint64_t size) override {
    Result<std::uint64_t> current = Size();
    if (!current.ok()) return current.status();
    if (*current >= size) return Status::Ok();
    if (RetryOnInterrupt([&] { return ftruncate(fd_, static_cast<off_t>(size)); }) != 0) {
      return ErrnoStatus(path_, errno);
    }
    return Status::Ok();
  }

  Status Sync() override {
    if (RetryOnInterrupt([&] { return fsync(fd_); }) != 0) return ErrnoStatus(path_, errno);
    return Status::Ok();
  }

  Status SetMode(std::uint32_t mode) override {
    if (fchmod(fd_, static_cast<mode_t>(mode)) != 0) return ErrnoStatus(path_, errno);
    return Status::Ok();
  }

  Result<FileInfo> Stat() override {
    struct stat st;
    if (fstat(fd_, &st) != 0) return ErrnoStatus(path_, errno);
    return InfoOf(st);
  }

  const std::string& path() const override { return path_; }
  bool created() const override { return created_; }
  int fd() const { return fd_; }

 private:
  const int fd_;
  const std::string path_;
  const bool created_;
};

int OpenFlags(const OpenOptions& options) {
  int flags = O_CLOEXEC;
  flags |= options.access == FileAccess::kReadWrite ? O_RDWR : O_RDONLY;
  if (options.directory) flags |= O_DIRECTORY;
  return flags;
}

// Opens without creating, or creates: `created` tells which. A file created by another opener
// between the two attempts is simply opened.
int OpenOrCreate(const std::string& path, const OpenOptions& options, bool& created) {
  const int flags = OpenFlags(options);
  const mode_t mode = static_cast<mode_t>(options.create_mode);
  created = false;
  switch (options.creation) {
    case FileCreation::kOpenExisting:
      return RetryOnInterrupt([&] { return open(path.c_str(), flags); });
    case FileCreation::kCreateOrTruncate:
      created = true;
      return RetryOnInterrupt([&] { return open(path.c_str(), flags | O_CREAT | O_TRUNC, mode); });
    case FileCreation::kCreateIfMissing:
      for (;;) {
        int fd = RetryOnInterrupt([&] { return open(path.c_str(), flags); });
        if (fd >= 0 || errno != ENOENT) return fd;
        fd = RetryOnInterrupt([&] { return open(path.c_str(), flags | O_CREAT | O_EXCL, mode); });
        if (fd >= 0 || errno != EEXIST) {
          created = fd >= 0;
          return fd;
        }
      }
  }
  return -1;
}

// True when `fd` still is the entry at `path`: a whole-file replacement may have renamed a new
// file over it while we waited for its lock, and a lock on the old one guards nothing.
bool StillAtPath(int fd, const std::string& path) {
  struct stat held, named;
  if (fstat(fd, &held) != 0 || stat(path.c_str(), &named) != 0) return false;
  return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

class HostFs final : public FileSystem {
 public:
  Result<std::unique_ptr<File>> Open(const std::string& path, const OpenOptions& options) override {
    if (Status allowed = CheckReadOnlyRule(path, options); !allowed.ok()) return allowed;
    for (;;) {
      bool created = false;
      const int fd = OpenOrCreate(path, options, created);
      if (fd < 0) return ErrnoStatus(path, errno);
      auto file = std::make_unique<PosixFile>(fd, path, created);
      if (options.lock == FileLock::kNone) return std::unique_ptr<File>(std::move(file));
      const int how = LOCK_EX | (options.lock == FileLock::kExclusiveNoWait ? LOCK_NB : 0);
      if (RetryOnInterrupt([&] { return flock(fd, how); }) != 0) {
        // The one reason a lock is refused at once: say whose it is.
        if (errno == EWOULDBLOCK) return Status::Held(path + ": held by another Quellor process");
        return ErrnoStatus(path, errno);
      }
      if (StillAtPath(fd, path)) return std::unique_ptr<File>(std::move(file));
    }
  }

  Status Rename(const std::string& from, const std::string& to, RenameMode mode) override {
    const unsigned flags = mode == RenameMode::kNoReplace ? RENAME_NOREPLACE : 0;
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags) != 0) {
      return ErrnoStatus(to, errno);
    }
    return Status::Ok();
  }

  Status Remove(const std::string& path) override {
    if (unlink(path.c_str()) != 0) return ErrnoStatus(path, errno);
    return Status::Ok();
  }

  Status MakeDirectory(const std::string& path) override {
    struct stat st;
    const std::string parent = ParentFolder(path);
    if (lstat(path.c_str(), &st) != 0 && stat(parent.c_str(), &st) == 0 &&
        !HasWriteBit(st.st_mode)) {
      return ReadOnlyStatus(parent);
    }
    if (mkdir(path.c_str(), 0777) != 0) return ErrnoStatus(path, errno);
    return Status::Ok();
  }

  Status SyncDirectory(const std::string& path) override {
    const int fd = RetryOnInterrupt([&] { return open(path.c_str(), O_RDONLY | O_DIRECTORY); });
    if (fd < 0) return ErrnoStatus(path, errno);
    const int result = RetryOnInterrupt([&] { return fsync(fd); });
    const int error = errno;
    close(fd);
    if (result != 0) return ErrnoStatus(path, error);
    return Status::Ok();
  }

  Result<FileInfo> Stat(const std::string& path, bool follow) override {
    struct stat st;
    const int result = follow ? stat(path.c_str(), &st) : lstat(path.c_str(), &st);
    if (result != 0) return ErrnoStatus(path, errno);
    return InfoOf(st);
  }

  Result<std::vector<std::string>> ListDirectory(const std::string& path) override {
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return ErrnoStatus(path, errno);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") names.emplace_back(name);
    }
    const int error = errno;
    closedir(dir);
    if (error != 0) return ErrnoStatus(path, error);
    return names;
  }

  Result<std::string> ReadLink(const std::string& path) override {
    std::string target(256, '\0');
    for (;;) {
      const ssize_t n = readlink(path.c_str(), target.data(), target.size());
      if (n < 0) return ErrnoStatus(path, errno);
      if (static_cast<std::size_t>(n) < target.size()) {
        target.resize(static_cast<std::size_t>(n));
        return target;
      }
      target.resize(target.size() * 2);
    }
  }

  Status Symlink(const std::string& target, const std::string& path) override {
    if (symlink(target.c_str(), path.c_str()) != 0) return ErrnoStatus(path, errno);
    return Status::Ok();
  }

  Result<std::string> RealPath(const std::string& path) override {
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr),
                                                           &std::free);
    if (real == nullptr) return ErrnoStatus(path, errno);
    return std::string(real.get());
  }
};

}  // namespace

FileSystem& HostFileSystem() {
  static HostFs host;
  return host;
}

}  // namespace quellor
