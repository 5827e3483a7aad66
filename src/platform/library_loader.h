// Dynamic loading of a shared library by name and lookup of its symbols. A name without a
// slash is found by the dynamic loader's default search (the program's RUNPATH $ORIGIN finds a
// library built beside it); a name with a slash is a path.
#pragma once

#include <memory>
#include <string>

#include "base/status.h"

namespace quellor {

// Owns one loaded library; the library is unloaded when the object goes (or on Unload()).
class LoadedLibrary final {
 public:
  // kNotFound with the loader's reason when the library cannot be loaded.
  static Result<LoadedLibrary> Load(const std::string& name);

  LoadedLibrary(LoadedLibrary&&) noexcept = default;
  LoadedLibrary& operator=(LoadedLibrary&&) noexcept = default;

  // The address of an exported symbol, or null when the library has none of that name.
  void* Symbol(const std::string& name) const;
  void Unload() { handle_.reset(); }
  bool loaded() const { return handle_ != nullptr; }

 private:
  struct Closer {
    void operator()(void* handle) const;
  };
  explicit LoadedLibrary(void* handle) : handle_(handle) {}

  std::unique_ptr<void, Closer> handle_;
};

// The folder of the loaded program or library whose code holds `address` (a function of its
// own), symbolic links resolved; empty when the loader cannot tell. A library finds the
// programs installed with it so.
std::string FolderOfCode(const void* address);

}  // namespace quellor
