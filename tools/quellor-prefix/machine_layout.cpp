#include "quellor-prefix/machine_layout.h"

#include <filesystem>

#include "apps/app_list.h"
#include "apps/shell_app_source.h"
#include "platform/env.h"
#include "platform/process.h"
#include "quellor-prefix/prefix_tool.h"

namespace quellor::prefix_tool {
namespace {

// A text as a quoted value of a registry file: backslashes doubled.
std::string RegValue(std::string_view text) {
  std::string value = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') value += '\\';
    value += c;
  }
  return value + "\"";
}

std::string RegLine(std::string_view name, std::string_view text) {
  return RegValue(name) + "=" + RegValue(text) + "\r\n";
}

}  // namespace

std::string MachineRegistryText() {
  std::string text =
      "REGEDIT4\r\n\r\n"
      "; Made by quellor-prefix create: the keys a build reads.\r\n"
      "; The suite: where its HMI shell application lies, for every HMI version.\r\n";
  text += "[HKEY_LOCAL_MACHINE\\" + std::string(kSuiteKey) + "]\r\n";
  for (const ShellAppValue& value : kShellAppValues) text += RegLine(value.name, kShellAppFolder);
  text +=
      "\r\n; The HMI installation: its version, its folder and the folder of its AppList.INI.\r\n";
  text += "[HKEY_LOCAL_MACHINE\\" + std::string(kInTouchInstallationKey) + "]\r\n";
  text += RegLine("Version", kHmiVersion);
  text += RegLine("InstallPath", kInstallFolder);
  text += RegLine("Application Directory", kAppListFolder);
  text += "\r\n; The user's list separator, which splits the command line into fields.\r\n";
  text += "[HKEY_CURRENT_USER\\Control Panel\\International]\r\n";
  text += RegLine("sList", kListSeparator);
  return text;
}

std::string OnDriveC(const std::string& drive_c, std::string_view windows_path) {
  std::string path = drive_c;
  for (const char c : windows_path.substr(2)) path += c == '\\' ? '/' : c;  // after "C:"
  return path;
}

std::optional<std::string> AbsolutePath(std::string_view host_path) {
  if (host_path.empty()) return std::nullopt;
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(std::string(host_path), ec);
  if (ec) return std::nullopt;
  std::string path = absolute.lexically_normal().string();
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::optional<DriveMapping> ParseDriveMapping(std::string_view text) {
  const bool letter =
      text.size() > 3 && ((text[0] >= 'a' && text[0] <= 'z') || (text[0] >= 'A' && text[0] <= 'Z'));
  if (!letter || text.substr(1, 2) != ":=") return std::nullopt;
  const std::optional<std::string> dir = AbsolutePath(text.substr(3));
  if (!dir) return std::nullopt;
  return DriveMapping{static_cast<char>(text[0] | 0x20), *dir};
}

std::string FindDataDir() {
  const std::string programs = CurrentProgramFolder();
  // Installed: share/quellor where the installation puts it. The build tree keeps the same
  // layout beside its bin folder.
  for (const std::string& dir :
       {programs + "/" QUELLOR_PROGRAMS_TO_DATA, programs + "/../share/quellor"}) {
    const Result<FileInfo> shell = Env::Default().file_system().Stat(dir + "/shell", true);
    if (shell.ok() && shell->type == FileType::kDirectory) {
      return std::filesystem::path(dir).lexically_normal().string();
    }
  }
  return {};
}

}  // namespace quellor::prefix_tool
