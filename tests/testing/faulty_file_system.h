// For failure tests: the host's file system, except that the Nth write (a file's WriteAt or
// Extend), rename or sync (a file's or a folder's) fails with a chosen errno (EIO, ENOSPC, ...).
// Counts every such call, so a test can first count the calls of a whole operation, then fail each
// in turn.
#pragma once

#include <array>
#include <memory>

#include "platform/file_system.h"

namespace quellor::testing {

enum class FaultPoint { kWrite, kRename, kSync };

class FaultyFileSystem final : public ForwardingFileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& target) : ForwardingFileSystem(target) {}

  // The `nth` call (from 1) of that kind from now on fails with `error`; 0 fails none.
  void FailNth(FaultPoint point, int nth, int error);
  // Calls of that kind made so far (failed ones included).
  int count(FaultPoint point) const { return state_->counts[Index(point)]; }

  Result<std::unique_ptr<File>> Open(const std::string& path, const OpenOptions& options) override;
  Status Rename(const std::string& from, const std::string& to, RenameMode mode) override;
  Status SyncDirectory(const std::string& path) override;

  // Shared with the files this file system opened, which may outlive a call.
  struct State {
    std::array<int, 3> counts{};
    std::array<int, 3> fail_at{};
    std::array<int, 3> errors{};
    // Counts the call; the Status to return instead of making it, or OK to go on.
    Status Enter(FaultPoint point, const std::string& path);
  };

 private:
  static int Index(FaultPoint point) { return static_cast<int>(point); }

  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace quellor::testing
