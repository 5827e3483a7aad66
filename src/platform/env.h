// The process-wide environment: the one place the program reaches the platform's services
// through. A test replaces a service for its own scope (ScopedFileSystemOverride) or makes
// the environment forget what it loaded (Reset), so that each test sees its own machine.
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

// Puts `replacement` in place of the file service until the object goes. Not nestable in
// spirit: the previous service is restored, whatever it was.
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
