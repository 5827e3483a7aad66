// The machine quellor-prefix makes: one registry file with the keys a build reads, and on drive
// C: the HMI installation, the folder of its AppList.INI and the suite's shell application.
#pragma once

#include <string>
#include <string_view>

namespace quellor::prefix_tool {

inline constexpr std::string_view kRegistryFileName = "machine.reg";
// Drive C: when the command gives none: a folder of the prefix, as a Wine prefix has it.
inline constexpr std::string_view kDefaultDriveC = "drive_c";

inline constexpr std::string_view kShellAppFolder = "C:\\Corvane\\InTouchShell";
inline constexpr std::string_view kInstallFolder = "C:\\Program Files\\Wonderware\\InTouch";
inline constexpr std::string_view kAppListFolder = "C:\\InTouch";
inline constexpr std::string_view kHmiVersion = "10.2";
inline constexpr std::string_view kListSeparator = ",";

// The registry file (REGEDIT4, CR LF): the shell application's folder under every value the
// build tries, the HMI installation (version, folder, AppList.INI folder), the list separator.
std::string MachineRegistryText();

// The host path of a program path on drive C:, given the host folder of C:.
std::string OnDriveC(const std::string& drive_c, std::string_view windows_path);

}  // namespace quellor::prefix_tool
