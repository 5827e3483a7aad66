// The application's entry in the HMI's list of known applications, AppList.INI in the HMI's
// application directory: section "InTouch", a count "AppCount" and one folder per numbered key
// "App00000", "App00001", ... (docs/formats/AppList.INI.md).
#pragma once

#include <string>
#include <string_view>

namespace quellor {

// The HMI's installation key (below HKEY_LOCAL_MACHINE): its folders and its version.
inline constexpr std::string_view kInTouchInstallationKey =
    "SOFTWARE\\Wonderware\\InTouch\\Installation";

// The folder that holds AppList.INI, ending in "\": "Application Directory" of the HMI's
// installation key, else its installation folder ("InstallPath" there, else "InstallDirectory"
// of section "InTouch Install" in win.ini), trailing white space removed. Empty when no
// installation folder is known, or the directory is blank: then nothing can be registered.
std::string AppListDirectory();

// Enters `app_path` (the application's AppPath) in AppList.INI unless a numbered key below the
// count already names it (compared whole and without regard to case). The count and the new
// key are written in one atomic replacement, and its folder is locked from reading the count
// until that write is done, so that builds running side by side never take the same number.
// Failures are reported ("AppList.INI has an invalid AppCount %d" for a count outside
// 0..99999, "Failed to create file %s" for a list that cannot be written) and leave the file
// as it was.
void RegisterInAppList(std::string_view app_path);

}  // namespace quellor
