#include "platform/path_lock.h"

#include <map>

#include "platform/env.h"
#include "platform/file_system.h"
#include "platform/host_path.h"
#include "platform/path_resolver.h"

namespace quellor {
namespace {

struct HeldLock {
  std::unique_ptr<File> handle;  // its open holds the lock
  int holders = 0;
};

// The process's locks by resolved host path. The program runs on one thread.
std::map<std::string, HeldLock>& HeldLocks() {
  static std::map<std::string, HeldLock> locks;
  return locks;
}

// One name per file or folder, whichever way the program reached it (a drive link, another
// letter case, a symbolic link): a second lock on another name would wait for ourselves.
std::string CanonicalKey(const std::string& host_path) {
  Result<std::string> canonical = WeaklyCanonical(Env::Default().file_system(), host_path);
  return canonical.ok() ? std::move(*canonical) : host_path;
}

}  // namespace

Result<PathLock> PathLock::Acquire(std::string_view windows_path, bool create_missing_file) {
  Result<std::string> resolved = ResolvePath(windows_path);
  if (!resolved.ok()) return resolved.status();
  Result<std::string> host = CanonicalKey(*resolved);
  HeldLock& held = HeldLocks()[*host];
  if (held.holders == 0) {
    FileSystem& fs = Env::Default().file_system();
    Result<FileInfo> info = fs.Stat(*host, /*follow=*/true);
    OpenOptions options;
    options.lock = FileLock::kExclusiveWait;
    options.directory = info.ok() && info->type == FileType::kDirectory;
    if (!info.ok() && create_missing_file) options.creation = FileCreation::kCreateIfMissing;
    Result<std::unique_ptr<File>> handle = fs.Open(*host, options);
    if (!handle.ok()) {
      HeldLocks().erase(*host);
      return handle.status();
    }
    held.handle = std::move(*handle);
  }
  ++held.holders;
  return PathLock(std::move(*host));
}

PathLock::PathLock(PathLock&& other) noexcept : host_path_(std::move(other.host_path_)) {
  other.host_path_.clear();
}

PathLock& PathLock::operator=(PathLock&& other) noexcept {
  if (this != &other) {
    Release();
    host_path_ = std::move(other.host_path_);
    other.host_path_.clear();
  }
  return *this;
}

PathLock::~PathLock() { Release(); }

void PathLock::Release() {
  if (host_path_.empty()) return;
  auto it = HeldLocks().find(host_path_);
  if (it != HeldLocks().end() && --it->second.holders == 0) HeldLocks().erase(it);
  host_path_.clear();
}

void MovePathLockTo(const std::string& host_path, std::unique_ptr<File> handle) {
  auto it = HeldLocks().find(CanonicalKey(host_path));
  if (it != HeldLocks().end()) it->second.handle = std::move(handle);
}

bool ProcessHoldsPathLock(const std::string& host_path) {
  return HeldLocks().contains(CanonicalKey(host_path));
}

}  // namespace quellor
