#include "testing/unsynced_file_system.h"

#include <utility>

namespace quellor::testing {
namespace {

class UnsyncedFile final : public ForwardingFile {
 public:
  explicit UnsyncedFile(std::unique_ptr<File> target) : ForwardingFile(std::move(target)) {}
  Status Sync() override { return Status::Ok(); }
};

}  // namespace

Result<std::unique_ptr<File>> UnsyncedFileSystem::Open(const std::string& path,
                                                       const OpenOptions& options) {
  Result<std::unique_ptr<File>> file = ForwardingFileSystem::Open(path, options);
  if (!file.ok()) return file;
  return std::unique_ptr<File>(std::make_unique<UnsyncedFile>(std::move(*file)));
}

void SkipSyncsFromNowOn() {
  // Made once; the host service comes back when the process ends.
  static UnsyncedFileSystem unsynced(Env::Default().file_system());
  static const ScopedFileSystemOverride in_place(unsynced);
}

}  // namespace quellor::testing
