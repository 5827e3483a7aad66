#include "apps/app_list.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "base/ascii.h"
#include "base/format.h"
#include "base/status.h"
#include "platform/env.h"
#include "platform/files.h"
#include "platform/path_lock.h"
#include "platform/profile.h"
#include "platform/profile_lines.h"
#include "platform/registry.h"
#include "report/failure_reason.h"
#include "report/report.h"

namespace quellor {
namespace {

constexpr std::string_view kListFileName = "AppList.INI";
constexpr std::string_view kListSection = "InTouch";
constexpr std::string_view kCountKey = "AppCount";
// The buffer the installation folders are read into.
constexpr std::size_t kPathBuffer = 260;
// "App%05d" names a key with five digits, so the count stays below this.
constexpr std::int32_t kCountLimit = 100000;

// A value of the installation key as the program's character buffer holds it: cut at its first
// NUL; empty when the key or the value is missing or does not fit the buffer.
std::string InstallationValue(std::string_view value_name) {
  Result<std::string> value = Env::Default().registry().QueryString(
      RegistryRoot::kLocalMachine, kInTouchInstallationKey, value_name, kPathBuffer);
  if (!value.ok()) return {};
  return value->substr(0, value->find('\0'));
}

// The "App" keys of the list's section as the profile reads see them: by upper-cased name, the
// first of duplicates winning, and nothing for a key line without "=" (it reads as missing).
using ListKeys = std::unordered_map<std::string, std::optional<std::string>>;

// One read of the list for every key, so that checking 100000 keys stays linear. A missing file
// is an empty list; any other read failure is returned.
Result<ListKeys> ReadListKeys(std::string_view list_file) {
  Result<std::string> text = ReadWholeFile(list_file);
  ListKeys keys;
  if (!text.ok()) {
    if (text.status().code() == StatusCode::kNotFound) return keys;
    return text.status();
  }
  const std::vector<ProfileLine> lines = SplitProfileLines(*text);
  const int header = FindProfileSection(lines, kListSection);
  if (header < 0) return keys;
  const int end = EndOfProfileSection(lines, header);
  for (int i = header + 1; i < end; ++i) {
    const ProfileLine& line = lines[static_cast<std::size_t>(i)];
    if (line.kind != ProfileLineKind::kKey) continue;
    std::optional<std::string> value;
    if (line.has_value) value = std::string(UnquoteProfileValue(line.value));
    keys.try_emplace(ToUpperAscii(line.name), std::move(value));
  }
  return keys;
}

// Whether a numbered key below `count` names `app_path`; a missing key never does.
bool IsListed(const ListKeys& keys, std::int32_t count, std::string_view app_path) {
  for (std::int32_t i = 0; i < count; ++i) {
    const auto it = keys.find(StringPrintf("APP%05d", i));
    if (it != keys.end() && it->second && EqualsIgnoreCase(*it->second, app_path)) return true;
  }
  return false;
}

void ReportListNotWritten(const std::string& list_file, const Status& reason) {
  ReportFileFailure("Failed to create file %s", list_file, reason);
}

}  // namespace

std::string AppListDirectory() {
  std::string install = InstallationValue("InstallPath");
  if (install.empty())
    install = GetProfileString("InTouch Install", "InstallDirectory", "", kPathBuffer);
  if (install.empty()) return {};
  std::string directory = InstallationValue("Application Directory");
  if (directory.empty()) directory = install;
  directory = std::string(TrimRightAscii(directory));
  // A blank directory would put the list at the root of the drive; no HMI reads it there.
  if (directory.empty()) return {};
  if (directory.back() != '\\') directory += '\\';
  return directory;
}

void RegisterInAppList(std::string_view app_path) {
  const std::string directory = AppListDirectory();
  if (directory.empty()) return;
  const std::string list_file = directory + std::string(kListFileName);
  // A folder holding a line end can never be stored, nor match a stored key: refused before the
  // list is touched, so that a missing list is not left behind empty.
  if (app_path.find_first_of("\r\n") != std::string_view::npos) {
    ReportListNotWritten(
        list_file, Status::InvalidArgument("an application folder holding a line end cannot be "
                                           "listed in " +
                                           list_file));
    return;
  }

  // The list's folder is locked, held until the write is done: a lock on the list itself would
  // have to create a missing list first, and a build ended before its write would leave that
  // empty list behind. Without the lock (a missing folder) the read finds no list and the write
  // fails with its message.
  const Result<PathLock> lock = PathLock::Acquire(directory);
  const Result<ListKeys> keys = ReadListKeys(list_file);
  if (!keys.ok()) {
    ReportListNotWritten(list_file, keys.status());
    return;
  }
  const std::int32_t count = GetPrivateProfileInt(kListSection, kCountKey, 0, list_file);
  if (count < 0 || count >= kCountLimit) {
    Report(StringPrintf("AppList.INI has an invalid AppCount %d", count), 1, 0);
    return;
  }
  if (IsListed(*keys, count, app_path)) return;

  const std::string new_count = std::to_string(count + 1);
  const std::string new_key = StringPrintf("App%05d", count);
  const ProfileEntry entries[] = {{kCountKey, new_count}, {new_key, app_path}};
  if (const Status written = WritePrivateProfileStrings(kListSection, entries, list_file);
      !written.ok()) {
    ReportListNotWritten(list_file, written);
  }
}

}  // namespace quellor
