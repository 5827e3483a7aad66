#include "platform/library_loader.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

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

std::string FolderOfCode(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return "";
  char resolved[PATH_MAX];
  if (realpath(info.dli_fname, resolved) == nullptr) return "";
  std::string path = resolved;
  return path.substr(0, path.find_last_of('/'));
}

void LoadedLibrary::Closer::operator()(void* handle) const { dlclose(handle); }

}  // namespace quellor
