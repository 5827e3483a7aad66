#include "platform/registry.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/ascii.h"
#include "platform/env.h"
#include "platform/files.h"
#include "platform/prefix.h"

namespace quellor {
namespace {

constexpr std::string_view RootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kLocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::kCurrentUser:
      return "HKEY_CURRENT_USER";
    case RegistryRoot::kClassesRoot:
      return "HKEY_CLASSES_ROOT";
  }
  return "";
}

// "ROOT\A\B" upper-cased, empty components (a trailing backslash) left out.
std::string FullPath(std::string_view root, std::string_view subkey) {
  std::string path(root);
  std::size_t start = 0;
  while (start <= subkey.size()) {
    std::size_t end = subkey.find('\\', start);
    if (end == std::string_view::npos) end = subkey.size();
    if (end > start) {
      path += '\\';
      path += ToUpperAscii(subkey.substr(start, end - start));
    }
    start = end + 1;
  }
  return path;
}

constexpr bool IsStringType(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

bool IsRegFileName(std::string_view name) {
  return name.size() > 4 && EqualsIgnoreCase(name.substr(name.size() - 4), ".reg");
}

}  // namespace

Registry Registry::LoadFromPrefix() {
  Registry registry;
  const std::string prefix = PrefixDir();
  if (prefix.empty()) return registry;
  FileSystem& fs = Env::Default().file_system();
  Result<std::vector<std::string>> names = fs.ListDirectory(prefix);
  if (!names.ok()) return registry;
  std::sort(names->begin(), names->end());
  for (const std::string& name : *names) {
    const std::string path = prefix + "/" + name;
    Result<FileInfo> info = fs.Stat(path, /*follow=*/true);
    if (!IsRegFileName(name) || !info.ok() || info->type != FileType::kRegular) continue;
    Result<std::unique_ptr<File>> file = fs.Open(path, OpenOptions{});
    if (!file.ok()) continue;
    Result<std::string> bytes = ReadAll(**file);
    if (!bytes.ok()) continue;
    if (!registry.AddFile(*bytes).ok()) {
      std::fprintf(stderr,
                   "%s: not a registry file (no REGEDIT4 or version 5.00 header); skipped\n",
                   path.c_str());
    }
  }
  return registry;
}

Registry::Key& Registry::CreateKey(const std::string& full_path) {
  for (std::size_t slash = full_path.find('\\'); slash != std::string::npos;
       slash = full_path.find('\\', slash + 1)) {
    keys_.try_emplace(full_path.substr(0, slash));
  }
  return keys_[full_path];
}

void Registry::DeleteTree(const std::string& full_path) {
  keys_.erase(full_path);
  const std::string below = full_path + "\\";
  auto it = keys_.lower_bound(below);
  while (it != keys_.end() && it->first.compare(0, below.size(), below) == 0) {
    it = keys_.erase(it);
  }
}

const Registry::Key* Registry::FindKey(RegistryRoot root, std::string_view subkey) const {
  const std::string path = FullPath(RootName(root), subkey);
  if (root == RegistryRoot::kLocalMachine) {
    // A 32-bit program sees SOFTWARE\X at SOFTWARE\WOW6432Node\X when that key exists.
    constexpr std::string_view kSoftware = "HKEY_LOCAL_MACHINE\\SOFTWARE\\";
    constexpr std::string_view kWow = "WOW6432NODE";
    const std::string_view path_view = path;
    if (path_view.starts_with(kSoftware) && !path_view.substr(kSoftware.size()).starts_with(kWow)) {
      const std::string wow =
          std::string(kSoftware) + std::string(kWow) + "\\" + path.substr(kSoftware.size());
      if (auto it = keys_.find(wow); it != keys_.end()) return &it->second;
    }
  }
  auto it = keys_.find(path);
  return it == keys_.end() ? nullptr : &it->second;
}

bool Registry::KeyExists(RegistryRoot root, std::string_view subkey) const {
  return FindKey(root, subkey) != nullptr;
}

Result<std::string> Registry::QueryString(RegistryRoot root, std::string_view subkey,
                                          std::string_view value_name,
                                          std::size_t buffer_size) const {
  const std::string where = std::string(RootName(root)) + "\\" + std::string(subkey);
  const Key* key = FindKey(root, subkey);
  if (key == nullptr) return Status::NotFound(where + ": no such key");
  auto it = key->values.find(ToUpperAscii(value_name));
  if (it == key->values.end()) {
    return Status::NotFound(where + ": no value \"" + std::string(value_name) + "\"");
  }
  const RegistryValue& value = it->second;
  if (!IsStringType(value.type)) {
    if (value.data.size() > buffer_size) return Status::InvalidArgument(where + ": more data");
    return value.data;
  }
  std::string text = value.data.substr(0, value.data.find('\0'));
  if (text.size() + 1 > buffer_size) return Status::InvalidArgument(where + ": more data");
  return text;
}

}  // namespace quellor
