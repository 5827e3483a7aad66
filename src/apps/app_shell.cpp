// The shell application: where the suite keeps it for the installed InTouch version, and the
// copy of its files into an application folder.
#include <string>

#include "apps/intouch_app.h"
#include "apps/shell_app_source.h"
#include "base/format.h"
#include "platform/env.h"
#include "platform/shell.h"
#include "report/report.h"

namespace quellor {

bool CInTApp::CopyShellApp(std::string_view folder, std::string_view pattern) {
  Report("        Copying InTouch shell application files", 0, 0);
  if (folders_.ShellAppDir.empty() && !FindShellAppSource()) return false;
  if (!CopyFolderFiles(folder, folders_.ShellAppDir, pattern, kAppMarkerFile)) {
    Report("Failed to copy shell application to InTouch application", 2, 1);
    return false;
  }
  return true;
}

bool CInTApp::FindShellAppSource() {
  const ShellAppSource source = LookUpShellAppSource(Env::Default().registry());
  if (!source.suite_key_exists) {
    Report("Failed to open registry key SOFTWARE\\Holdrane\\Corvane", 2, 1);
    return false;
  }
  if (!source.value_name.empty()) {
    folders_.ShellAppDir = source.folder;
    return true;
  }
  if (!source.managed_elsewhere) {
    Report("Failed to read registry value SOFTWARE\\Holdrane\\Corvane\\InTShellApp", 2, 1);
  } else {
    Report(
        "The application folder will remain empty, use the ArchestrA IDE and \"Talveron Project "
        "Link\" dialog to make/edit/publish a new application",
        2, 1);
  }
  return false;
}

bool CopyFolderFiles(std::string_view destination, std::string_view source,
                     std::string_view pattern, std::string_view last_entry) {
  std::string source_list(source);
  if (!pattern.empty()) source_list.append("\\").append(pattern);
  if (!CopyFolderEntries(destination, source, pattern, last_entry).ok()) {
    Report(StringPrintf("Failed to copy %s to %s", source_list.c_str(),
                        std::string(destination).c_str()),
           2, 1);
    return false;
  }
  return true;
}

}  // namespace quellor
