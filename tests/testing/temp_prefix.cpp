#include "testing/temp_prefix.h"

#include <stdlib.h>

#include <cctype>
#include <filesystem>

namespace quellor::testing {
namespace fs = std::filesystem;

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
  if (const char* old = getenv(name_.c_str())) saved_ = old;
  if (value) {
    setenv(name_.c_str(), value->c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

ScopedEnv::~ScopedEnv() {
  if (saved_) {
    setenv(name_.c_str(), saved_->c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

TempPrefix::TempPrefix() : env_("QUELLOR_PREFIX", dir_.path().string()) {}

void TempPrefix::AddFile(std::string_view relative, std::string_view bytes) const {
  const fs::path target = path() / relative;
  fs::create_directories(target.parent_path());
  WriteFile(target, bytes);
}

void TempPrefix::MapDrive(char letter, const fs::path& target) const {
  const fs::path devices = path() / "dosdevices";
  fs::create_directories(devices);
  const char name[] = {static_cast<char>(std::tolower(static_cast<unsigned char>(letter))), ':',
                       '\0'};
  fs::create_directory_symlink(target, devices / name);
}

}  // namespace quellor::testing
