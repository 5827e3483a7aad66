#include "platform/profile.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "base/cp1252.h"
#include "base/numbers.h"
#include "platform/env.h"
#include "platform/files.h"
#include "platform/path_resolver.h"
#include "platform/prefix.h"
#include "platform/profile_lines.h"

namespace quellor {
namespace {

constexpr std::size_t kIntBuffer = 65536;

std::string CutToBuffer(std::string_view text, std::size_t buffer_size) {
  if (buffer_size == 0) return {};
  return std::string(text.substr(0, buffer_size - 1));
}

// The file's content; nothing when it cannot be read (a missing file reads as the default).
std::optional<std::string> ReadProfile(std::string_view file) {
  Result<std::string> host = ResolveProfilePath(file);
  if (!host.ok()) return std::nullopt;
  Result<std::unique_ptr<File>> opened = Env::Default().file_system().Open(*host, OpenOptions{});
  if (!opened.ok()) return std::nullopt;
  Result<std::string> bytes = ReadAll(**opened);
  if (!bytes.ok()) return std::nullopt;
  return std::move(*bytes);
}

// The raw value of the key, or nothing.
std::optional<std::string> LookUp(std::string_view section, std::string_view key,
                                  std::string_view file) {
  section = TrimSpaces(section);
  key = TrimSpaces(key);
  if (section.empty() || key.empty()) return std::nullopt;
  const std::optional<std::string> content = ReadProfile(file);
  if (!content) return std::nullopt;
  const std::vector<ProfileLine> lines = SplitProfileLines(*content);
  const int header = FindProfileSection(lines, section);
  if (header < 0) return std::nullopt;
  const int end = EndOfProfileSection(lines, header);
  for (int i = header + 1; i < end; ++i) {
    const ProfileLine& line = lines[static_cast<std::size_t>(i)];
    if (line.kind != ProfileLineKind::kKey || !EqualsIgnoreCase(line.name, key)) continue;
    if (!line.has_value) return std::nullopt;
    return std::string(UnquoteProfileValue(line.value));
  }
  return std::nullopt;
}

}  // namespace

Result<std::string> ResolveProfilePath(std::string_view file) {
  if (file.empty()) return Status::PermissionDenied("an empty profile file name");
  if (file.find_first_of("\\/") != std::string_view::npos) return ResolvePath(file);
  const std::string windows_folder = PrefixDir();
  if (windows_folder.empty()) return Status::NotFound(std::string(file) + ": no machine folder");
  return ResolveComponent(windows_folder, Cp1252ToUtf8(file));
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    std::string_view file) {
  if (std::optional<std::string> value = LookUp(section, key, file)) {
    return CutToBuffer(*value, buffer_size);
  }
  while (!default_value.empty() && default_value.back() == ' ') default_value.remove_suffix(1);
  return CutToBuffer(default_value, buffer_size);
}

std::int32_t GetPrivateProfileInt(std::string_view section, std::string_view key,
                                  std::int32_t default_value, std::string_view file) {
  const std::string value = GetPrivateProfileString(section, key, "", kIntBuffer, file);
  if (value.empty()) return default_value;
  return ReadLeadingDecimal(value).value_or(0);
}

std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view default_value, std::size_t buffer_size) {
  return GetPrivateProfileString(section, key, default_value, buffer_size, "win.ini");
}

}  // namespace quellor
