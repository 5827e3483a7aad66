#include "testing/faulty_file_system.h"

#include "platform/errno_status.h"

namespace quellor::testing {
namespace {

class FaultyFile final : public ForwardingFile {
 public:
  FaultyFile(std::unique_ptr<File> target, std::shared_ptr<FaultyFileSystem::State> state)
      : ForwardingFile(std::move(target)), state_(std::move(state)) {}

  Status WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    Status injected = state_->Enter(FaultPoint::kWrite, path());
    return injected.ok() ? ForwardingFile::WriteAt(offset, data) : injected;
  }
  // Growing a file writes to the disk as well, and fails as a write does.
  Status Extend(std::uint64_t size) override {
    Status injected = state_->Enter(FaultPoint::kWrite, path());
    return injected.ok() ? ForwardingFile::Extend(size) : injected;
  }
  Status Sync() override {
    Status injected = state_->Enter(FaultPoint::kSync, path());
    return injected.ok() ? ForwardingFile::Sync() : injected;
  }

 private:
  std::shared_ptr<FaultyFileSystem::State> state_;
};

}  // namespace

Status FaultyFileSystem::State::Enter(FaultPoint point, const std::string& path) {
  const int i = static_cast<int>(point);
  ++counts[i];
  if (fail_at[i] == 0 || counts[i] != fail_at[i]) return Status::Ok();
  return ErrnoStatus(path, errors[i]);
}

void FaultyFileSystem::FailNth(FaultPoint point, int nth, int error) {
  const int i = Index(point);
  state_->fail_at[i] = nth == 0 ? 0 : state_->counts[i] + nth;
  state_->errors[i] = error;
}

Result<std::unique_ptr<File>> FaultyFileSystem::Open(const std::string& path,
                                                     const OpenOptions& options) {
  Result<std::unique_ptr<File>> file = ForwardingFileSystem::Open(path, options);
  if (!file.ok()) return file;
  return std::unique_ptr<File>(std::make_unique<FaultyFile>(std::move(*file), state_));
}

Status FaultyFileSystem::Rename(const std::string& from, const std::string& to, RenameMode mode) {
  Status injected = state_->Enter(FaultPoint::kRename, to);
  return injected.ok() ? ForwardingFileSystem::Rename(from, to, mode) : injected;
}

Status FaultyFileSystem::SyncDirectory(const std::string& path) {
  Status injected = state_->Enter(FaultPoint::kSync, path);
  return injected.ok() ? ForwardingFileSystem::SyncDirectory(path) : injected;
}

}  // namespace quellor::testing
