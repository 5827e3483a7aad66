#include "platform/env.h"

#include "platform/crash_point.h"
#include "platform/registry.h"

namespace quellor {

Env::Env() = default;
Env::~Env() = default;

Env& Env::Default() {
  static Env env;
  return env;
}

FileSystem& Env::file_system() {
  if (file_system_override_ != nullptr) return *file_system_override_;
  // The crash-safety tests' kill hook (crash_point.h), asked for once per process.
  static FileSystem* const crash_point = CrashPointFileSystemFromEnvironment();
  return crash_point != nullptr ? *crash_point : HostFileSystem();
}

const Registry& Env::registry() {
  if (!registry_) registry_ = std::make_unique<Registry>(Registry::LoadFromPrefix());
  return *registry_;
}

void Env::Reset() { registry_.reset(); }

ScopedFileSystemOverride::ScopedFileSystemOverride(FileSystem& replacement)
    : previous_(Env::Default().file_system_override_) {
  Env::Default().file_system_override_ = &replacement;
}

ScopedFileSystemOverride::~ScopedFileSystemOverride() {
  Env::Default().file_system_override_ = previous_;
}

}  // namespace quellor
