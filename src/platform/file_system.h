// The file service: the file-system calls the program's file code makes, on host paths
// (resolved already, see path_resolver.h). One Linux implementation; tests replace it for
// their scope through the environment (env.h), mostly with a ForwardingFileSystem that fails
// one call on purpose.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "platform/file_image.h"

namespace quellor {

enum class FileType { kRegular, kDirectory, kSymlink, kOther };

struct FileInfo {
  FileType type = FileType::kOther;
  std::uint32_t mode = 0;  // permission bits, as in st_mode & 07777
  std::uint64_t size = 0;
  // What tells one version of a file from another: the inode, and the times of the last
  // change of the content and of the entry, in nanoseconds.
  std::uint64_t inode = 0;
  std::int64_t modified_ns = 0;
  std::int64_t changed_ns = 0;
};

enum class FileAccess { kRead, kReadWrite };

enum class RenameMode {
  kReplace,   // an entry at the new name is replaced, in one step
  kNoReplace  // fails when the new name exists: a file appears whole or not at all
};

enum class FileCreation {
  kOpenExisting,     // a missing file is NotFound
  kCreateIfMissing,  // never truncates an existing file
  kCreateOrTruncate  // for temporary files of our own only
};

enum class FileLock {
  kNone,
  kExclusiveNoWait,  // refused with kHeld while another opener holds it
  kExclusiveWait,    // waits for the other holder
};

struct OpenOptions {
  FileAccess access = FileAccess::kRead;
  FileCreation creation = FileCreation::kOpenExisting;
  FileLock lock = FileLock::kNone;
  std::uint32_t create_mode = 0666;  // before the umask
  bool directory = false;            // open a folder (for its lock)
};

// An open file. A lock taken at the open is held until the object goes.
class File {
 public:
  virtual ~File() = default;

  // Reads up to out.size() bytes at `offset`; fewer only at the end of the file.
  virtual Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
  // The file's first `size` bytes as an image (file_image.h); kCorruption when the file is
  // shorter. The host maps the file's pages; this default reads them with ReadAt.
  virtual Result<FileImage> ReadImage(std::size_t size);
  // Writes all of `data` at `offset`, or fails.
  virtual Status WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
  virtual Result<std::uint64_t> Size() = 0;
  // Grows the file to `size` bytes (zeros); a larger file is left as it is.
  virtual Status Extend(std::uint64_t size) = 0;
  virtual Status Sync() = 0;
  // Sets the permission bits exactly (the umask does not apply).
  virtual Status SetMode(std::uint32_t mode) = 0;
  virtual Result<FileInfo> Stat() = 0;

  // The host path it was opened with, and whether this open created the file.
  virtual const std::string& path() const = 0;
  virtual bool created() const = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Read-only rule: a file whose mode has no write bit, or (to create a file) a folder whose
  // mode has none, is refused for writing with kPermissionDenied, even to root.
  virtual Result<std::unique_ptr<File>> Open(const std::string& path,
                                             const OpenOptions& options) = 0;
  virtual Status Rename(const std::string& from, const std::string& to, RenameMode mode) = 0;
  virtual Status Remove(const std::string& path) = 0;
  // As _mkdir: fails when the entry exists or the parent folder is missing; a read-only
  // parent folder is refused.
  virtual Status MakeDirectory(const std::string& path) = 0;
  virtual Status SyncDirectory(const std::string& path) = 0;
  // `follow` false describes a symbolic link itself.
  virtual Result<FileInfo> Stat(const std::string& path, bool follow) = 0;
  // The names in a folder, "." and ".." left out, in no particular order.
  virtual Result<std::vector<std::string>> ListDirectory(const std::string& path) = 0;
  virtual Result<std::string> ReadLink(const std::string& path) = 0;
  // Makes a symbolic link at `path` (which must not exist) holding `target`.
  virtual Status Symlink(const std::string& target, const std::string& path) = 0;
  // The absolute path of an existing entry, with every symbolic link, "." and ".." resolved.
  virtual Result<std::string> RealPath(const std::string& path) = 0;
};

// The Linux file system of the host.
FileSystem& HostFileSystem();

// Forwards every call to a target; a test double derives from it and overrides what it needs.
class ForwardingFile : public File {
 public:
  explicit ForwardingFile(std::unique_ptr<File> target) : target_(std::move(target)) {}

  Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    return target_->ReadAt(offset, out);
  }
  Result<FileImage> ReadImage(std::size_t size) override { return target_->ReadImage(size); }
  Status WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    return target_->WriteAt(offset, data);
  }
  Result<std::uint64_t> Size() override { return target_->Size(); }
  Status Extend(std::uint64_t size) override { return target_->Extend(size); }
  Status Sync() override { return target_->Sync(); }
  Status SetMode(std::uint32_t mode) override { return target_->SetMode(mode); }
  Result<FileInfo> Stat() override { return target_->Stat(); }
  const std::string& path() const override { return target_->path(); }
  bool created() const override { return target_->created(); }

 private:
  std::unique_ptr<File> target_;
};

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& target) : target_(target) {}

  Result<std::unique_ptr<File>> Open(const std::string& path, const OpenOptions& options) override {
    return target_.Open(path, options);
  }
  Status Rename(const std::string& from, const std::string& to, RenameMode mode) override {
    return target_.Rename(from, to, mode);
  }
  Status Remove(const std::string& path) override { return target_.Remove(path); }
  Status MakeDirectory(const std::string& path) override { return target_.MakeDirectory(path); }
  Status SyncDirectory(const std::string& path) override { return target_.SyncDirectory(path); }
  Result<FileInfo> Stat(const std::string& path, bool follow) override {
    return target_.Stat(path, follow);
  }
  Result<std::vector<std::string>> ListDirectory(const std::string& path) override {
    return target_.ListDirectory(path);
  }
  Result<std::string> ReadLink(const std::string& path) override { return target_.ReadLink(path); }
  Status Symlink(const std::string& target, const std::string& path) override {
    return target_.Symlink(target, path);
  }
  Result<std::string> RealPath(const std::string& path) override { return target_.RealPath(path); }

 protected:
  FileSystem& target() { return target_; }

 private:
  FileSystem& target_;
};

// Bytes of a text, for writing it.
inline std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace quellor
