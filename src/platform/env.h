// The process-wide environment: the platform services that a test may replace. The file
// service is the one way to the file system (path resolution, the folder locks and the shell's
// copy included); the registry is the machine's. A test replaces the file service for its own
// scope (ScopedFileSystemOverride) or makes the environment forget what it loaded (Reset), so
// that each test sees its own machine. The services no test replaces (console.h, process.h,
// locale.h, library_loader.h) are plain functions, each over one Linux implementation.
#pragma once

#include <memory>

#include "platform/file_system.h"

namespace quellor {

class Registry;

class Env final {
 public:
  // The one environment of the process.
  static Env& Default();

  // The file service: the host's, unless a test put another in place, or the kill hook of
  // crash_point.h wraps it.
  FileSystem& file_system();
  // The registry of the machine, loaded from the prefix's *.reg files at first use. The
  // reference stays valid until Reset().
  const Registry& registry();
  // Forgets the loaded registry; the next use reads the prefix again.
  void Reset();

 private:
  friend class ScopedFileSystemOverride;
  Env();
  ~Env();

  FileSystem* file_system_override_ = nullptr;
  std::unique_ptr<Registry> registry_;
};

// Puts `replacement` in place of the file service until the object goes. Overrides nest: the
// service in place before is restored.
class ScopedFileSystemOverride final {
 public:
  explicit ScopedFileSystemOverride(FileSystem& replacement);
  ~ScopedFileSystemOverride();
  ScopedFileSystemOverride(const ScopedFileSystemOverride&) = delete;
  ScopedFileSystemOverride& operator=(const ScopedFileSystemOverride&) = delete;

 private:
  FileSystem* previous_;
};

}  // namespace quellor
