// The host's file service without its syncs, for the fuzz targets that write files: a sync
// only matters when the machine goes down, and at a few milliseconds each it would leave
// the search only a few dozen inputs a second. Every other call goes to the host unchanged.
#pragma once

#include <memory>
#include <string>

#include "platform/env.h"
#include "platform/file_system.h"

namespace quellor::testing {

class UnsyncedFileSystem final : public ForwardingFileSystem {
 public:
  explicit UnsyncedFileSystem(FileSystem& host) : ForwardingFileSystem(host) {}

  Result<std::unique_ptr<File>> Open(const std::string& path, const OpenOptions& options) override;
  Status SyncDirectory(const std::string&) override { return Status::Ok(); }
};

// Puts the unsynced service in place for the rest of the process (a fuzz target's life).
void SkipSyncsFromNowOn();

}  // namespace quellor::testing
