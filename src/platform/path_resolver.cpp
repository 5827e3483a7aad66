#include "platform/path_resolver.h"

#include <optional>
#include <vector>

#include "base/ascii.h"
#include "base/cp1252.h"
#include "platform/env.h"
#include "platform/host_path.h"
#include "platform/prefix.h"

namespace quellor {
namespace {

constexpr bool IsDriveLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Paths are resolved through the file service, so that one a test puts in place sees them.
bool EntryExists(const std::string& path) {
  return Env::Default().file_system().Stat(path, /*follow=*/false).ok();
}

// The entry of `folder` equal to `name` without regard to case, the first in byte order.
std::optional<std::string> FindWithoutCase(const std::string& folder, std::string_view name) {
  Result<std::vector<std::string>> entries =
      Env::Default().file_system().ListDirectory(folder.empty() ? std::string(".") : folder);
  if (!entries.ok()) return std::nullopt;
  std::optional<std::string> best;
  for (std::string& entry : *entries) {
    if (EqualsIgnoreCase(entry, name) && (!best || entry < *best)) best = std::move(entry);
  }
  return best;
}

// Where the path starts on the host and what of it is left to walk, or NotFound.
struct Start {
  std::string base;  // "" for the working folder
  std::string_view rest;
};

Result<Start> FindStart(std::string_view path) {
  if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
    return Status::NotFound(std::string(path) + ": a network path names nothing here");
  }
  if (path.size() >= 2 && path[1] == ':' && IsDriveLetter(path[0])) {
    const std::string prefix = PrefixDir();
    const char link[] = {ToLowerAscii(path[0]), ':', '\0'};
    const std::string drive = prefix.empty() ? std::string() : prefix + "/dosdevices/" + link;
    if (drive.empty() || !EntryExists(drive)) {
      return Status::NotFound(std::string(path) + ": the drive is not mapped");
    }
    return Start{drive, path.substr(2)};
  }
  if (!path.empty() && IsPathSeparator(path[0])) return Start{"/", path.substr(1)};
  return Start{"", path};
}

}  // namespace

std::string ResolveComponent(const std::string& host_folder, std::string_view name) {
  const std::string exact = JoinHostPath(host_folder, name);
  if (EntryExists(exact)) return exact;
  if (name == "." || name == "..") return exact;
  if (auto found = FindWithoutCase(host_folder, name)) return JoinHostPath(host_folder, *found);
  return exact;
}

Result<std::string> ResolvePath(std::string_view windows_path) {
  if (windows_path.empty()) return Status::NotFound("an empty path names nothing");
  Result<Start> start = FindStart(windows_path);
  if (!start.ok()) return start.status();
  std::string host = start->base;
  bool walking = true;  // false once a component is missing: nothing below it can exist
  std::string_view rest = start->rest;
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsPathSeparator(rest[end])) ++end;
    const std::string name = Cp1252ToUtf8(rest.substr(0, end));
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
    if (name.empty()) continue;
    if (walking) {
      host = ResolveComponent(host, name);
      walking = EntryExists(host);
    } else {
      host = JoinHostPath(host, name);
    }
  }
  if (host.empty()) return std::string(1, '.');
  return host;
}

}  // namespace quellor
