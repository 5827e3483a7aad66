// The shell application: where the suite keeps it for the installed InTouch version, and the
// copy of its files into an application folder.
#include <charconv>
#include <string>

#include "apps/app_list.h"
#include "apps/intouch_app.h"
#include "base/ascii.h"
#include "base/format.h"
#include "platform/env.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "report/report.h"

namespace quellor {
namespace {

constexpr char kSuiteKey[] = "SOFTWARE\\Holdrane\\Corvane";

// The installed InTouch version, read as "%f" reads it into a float: the number at the start
// of the text after blanks; 9.0 without a key, a value or a number.
float InstalledInTouchVersion(const Registry& registry) {
  float version = 9.0F;
  auto text = registry.QueryString(RegistryRoot::kLocalMachine, kInTouchInstallationKey, "Version");
  if (!text.ok()) return version;
  std::string_view number = TrimLeftAscii(*text);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  double parsed = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
  if (error == std::errc() && end != number.data()) version = static_cast<float>(parsed);
  return version;
}

}  // namespace

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
  const Registry& registry = Env::Default().registry();
  const float version = InstalledInTouchVersion(registry);
  if (!registry.KeyExists(RegistryRoot::kLocalMachine, kSuiteKey)) {
    Report("Failed to open registry key SOFTWARE\\Holdrane\\Corvane", 2, 1);
    return false;
  }
  struct Candidate {
    const char* value_name;
    float lowest_version;
  };
  static constexpr Candidate kCandidates[] = {
      {"InTShellApp_10p5", 10.5F},
      {"InTShellApp_10p0", 10.0F},
      {"InTShellApp_9p5", 9.5F},
      {"InTShellApp", 0.0F},
  };
  for (const Candidate& candidate : kCandidates) {
    // The plain value is tried whatever the version says, even one below zero.
    if (candidate.lowest_version > 0.0F && !(version >= candidate.lowest_version)) continue;
    auto folder =
        registry.QueryString(RegistryRoot::kLocalMachine, kSuiteKey, candidate.value_name);
    if (folder.ok()) {
      folders_.ShellAppDir = folder->c_str();  // a stored NUL ends the folder name
      return true;
    }
  }
  if (!registry.QueryString(RegistryRoot::kLocalMachine, kSuiteKey, "ManagedAppfile").ok()) {
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
