#include "platform/crash_point.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace quellor {
namespace {

class CrashPointFile final : public ForwardingFile {
 public:
  CrashPointFile(std::unique_ptr<File> target,
                 std::shared_ptr<CrashPointFileSystem::Counter> counter)
      : ForwardingFile(std::move(target)), counter_(std::move(counter)) {}

  Status WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    counter_->Enter();
    return ForwardingFile::WriteAt(offset, data);
  }
  Status Extend(std::uint64_t size) override {
    counter_->Enter();
    return ForwardingFile::Extend(size);
  }
  Status Sync() override {
    counter_->Enter();
    return ForwardingFile::Sync();
  }

 private:
  std::shared_ptr<CrashPointFileSystem::Counter> counter_;
};

// QUELLOR_CRASH_AT as a positive number, or 0.
long CrashPointFromEnvironment() {
  const char* text = std::getenv("QUELLOR_CRASH_AT");
  if (text == nullptr || *text == '\0') return 0;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || value < 0) return 0;
  return value;
}

}  // namespace

void CrashPointFileSystem::Counter::Enter() {
  if (++calls == crash_at) _exit(kCrashExitCode);
}

CrashPointFileSystem::CrashPointFileSystem(FileSystem& target, long crash_at)
    : ForwardingFileSystem(target), counter_(std::make_shared<Counter>()) {
  counter_->crash_at = crash_at;
}

Result<std::unique_ptr<File>> CrashPointFileSystem::Open(const std::string& path,
                                                         const OpenOptions& options) {
  Result<std::unique_ptr<File>> file = ForwardingFileSystem::Open(path, options);
  if (!file.ok()) return file;
  return std::unique_ptr<File>(std::make_unique<CrashPointFile>(std::move(*file), counter_));
}

Status CrashPointFileSystem::Rename(const std::string& from, const std::string& to,
                                    RenameMode mode) {
  counter_->Enter();
  return ForwardingFileSystem::Rename(from, to, mode);
}

Status CrashPointFileSystem::SyncDirectory(const std::string& path) {
  counter_->Enter();
  return ForwardingFileSystem::SyncDirectory(path);
}

FileSystem* CrashPointFileSystemFromEnvironment() {
  const long crash_at = CrashPointFromEnvironment();
  if (crash_at == 0) return nullptr;
  // Lives to the end of the process: files opened through it may outlive any scope.
  static CrashPointFileSystem* const hook = new CrashPointFileSystem(HostFileSystem(), crash_at);
  return hook;
}

}  // namespace quellor
