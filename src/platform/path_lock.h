// Waiting locks on an application folder (or the folder of a shared list such as AppList.INI),
// so that two builds of one application never interleave. Re-entrant within the process: one
// lock per resolved path, its holders counted, released when the last holder goes. A lock may
// also be held on a file; the program itself locks folders only.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/status.h"
#include "platform/file_system.h"

namespace quellor {

class PathLock final {
 public:
  // Waits until no other process holds the lock on the folder or file at `windows_path`.
  // With `create_missing_file`, a missing file is first created empty (its folder must exist).
  static Result<PathLock> Acquire(std::string_view windows_path, bool create_missing_file = false);

  PathLock(PathLock&&) noexcept;
  PathLock& operator=(PathLock&&) noexcept;
  ~PathLock();

  // The locked file or folder, symbolic links resolved.
  const std::string& host_path() const { return host_path_; }

 private:
  explicit PathLock(std::string host_path) : host_path_(std::move(host_path)) {}
  void Release();

  std::string host_path_;  // empty once moved from
};

// After a whole-file replacement of a file this process holds locked: the lock moves to the new
// file, which `handle` holds locked already, so that no other process ever finds the new file
// unlocked while this one still holds it. Does nothing when no lock is held on the path.
void MovePathLockTo(const std::string& host_path, std::unique_ptr<File> handle);

// True while this process holds a PathLock on the file or folder at the host path.
bool ProcessHoldsPathLock(const std::string& host_path);

}  // namespace quellor
