#include "testing/temp_dir.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quellor::testing {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void Die(const std::string& what) {
  std::fprintf(stderr, "test helper: %s\n", what.c_str());
  std::abort();
}

// Gives every folder below `root` its owner's write and search bits back, so that a test that
// made a folder read-only does not leave it behind.
void MakeRemovable(const fs::path& root) {
  std::error_code ec;
  fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(root, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
  }
}

}  // namespace

TempDir::TempDir(const fs::path& parent) {
  std::string name = (parent / "qtXXXXXX").string();
  // mkdtemp fills in letters and digits only: no dot.
  if (mkdtemp(name.data()) == nullptr)
    Die("cannot create a temporary folder in " + parent.string());
  path_ = name;
}

TempDir::~TempDir() {
  MakeRemovable(path_);
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::Join(std::string_view relative) const { return (path_ / relative).string(); }

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Die("cannot write " + path.string());
}

std::string AsText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Die("cannot read " + path.string());
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace quellor::testing
