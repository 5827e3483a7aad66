#include "platform/library_loader.h"

#include <dlfcn.h>

namespace quellor {

Result<LoadedLibrary> LoadedLibrary::Load(const std::string& name) {
  void* const handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* const reason = dlerror();
    return Status::NotFound(reason != nullptr ? reason : name + ": cannot be loaded");
  }
  return LoadedLibrary(handle);
}

void* LoadedLibrary::Symbol(const std::string& name) const {
  if (handle_ == nullptr) return nullptr;
  return dlsym(handle_.get(), name.c_str());
}

void LoadedLibrary::Closer::operator()(void* handle) const { dlclose(handle); }

}  // namespace quellor
