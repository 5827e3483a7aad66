// The kill hook of the crash-safety tests: with QUELLOR_CRASH_AT=N in the environment, the Nth
// write (a file's WriteAt or Extend), rename or sync (a file's or a folder's) of the run, the
// three kinds counted together, ends the process at once, before the call is made: _exit with
// kCrashExitCode, nothing flushed, no destructor run, as a power cut or a kill would leave the
// disk. The variable is read once, at the first use of the file service; unset, empty, zero or
// not a number means no hook, and the file service is the host's alone.
#pragma once

#include <memory>

#include "platform/file_system.h"

namespace quellor {

// The exit code of a process the hook ended; no other path of the program exits with it.
inline constexpr int kCrashExitCode = 86;

class CrashPointFileSystem final : public ForwardingFileSystem {
 public:
  // Ends the process at the `crash_at`th counted call (from 1) through this file system or the
  // files it opened.
  CrashPointFileSystem(FileSystem& target, long crash_at);

  Result<std::unique_ptr<File>> Open(const std::string& path, const OpenOptions& options) override;
  Status Rename(const std::string& from, const std::string& to, RenameMode mode) override;
  Status SyncDirectory(const std::string& path) override;

  // Shared with the files this file system opened.
  struct Counter {
    long crash_at = 0;
    long calls = 0;
    // Counts one call; ends the process when it is the chosen one.
    void Enter();
  };

 private:
  std::shared_ptr<Counter> counter_;
};

// The hook the environment asks for: a file system over the host's, made once for the whole
// run, or nullptr when QUELLOR_CRASH_AT does not ask for one.
FileSystem* CrashPointFileSystemFromEnvironment();

}  // namespace quellor
