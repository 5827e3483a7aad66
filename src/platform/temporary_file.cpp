#include "platform/temporary_file.h"

#include <charconv>
#include <vector>

#include "platform/file_system.h"
#include "platform/host_path.h"
#include "platform/process.h"

namespace quellor {
namespace {

constexpr std::string_view kMark = ".~";

// The process that wrote `entry`, when it is a temporary file (of `file_name`, when given).
std::optional<int> WriterOf(std::string_view entry, std::optional<std::string_view> file_name) {
  if (!entry.starts_with(kMark)) return std::nullopt;
  entry.remove_prefix(kMark.size());
  const std::size_t dot = entry.find_last_of('.');
  if (dot == std::string_view::npos || dot == 0) return std::nullopt;
  if (file_name && entry.substr(0, dot) != *file_name) return std::nullopt;
  const std::string_view digits = entry.substr(dot + 1);
  int pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return pid;
}

}  // namespace

std::string TemporaryFileName(std::string_view file_name, int pid) {
  return std::string(kMark) + std::string(file_name) + "." + std::to_string(pid);
}

std::string TemporaryPathFor(std::string_view host_path) {
  return JoinHostPath(ParentFolder(host_path),
                      TemporaryFileName(FinalName(host_path), CurrentProcessId()));
}

void RemoveDeadTemporaries(FileSystem& fs, const std::string& folder,
                           std::optional<std::string_view> file_name) {
  Result<std::vector<std::string>> entries = fs.ListDirectory(folder);
  if (!entries.ok()) return;
  for (const std::string& entry : *entries) {
    const std::optional<int> pid = WriterOf(entry, file_name);
    if (!pid || *pid == CurrentProcessId() || ProcessExists(*pid)) continue;
    (void)fs.Remove(JoinHostPath(folder, entry));  // another build may have removed it first
  }
}

}  // namespace quellor
