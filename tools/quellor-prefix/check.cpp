// quellor-prefix check: the machine as a build reads it, through the build's own lookups (the
// registry files, the drive links, the shell application's source, the folder of AppList.INI,
// the list separator, the build window). One line for each: where it was found, or what is
// missing and the command that fixes it.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "apps/app_list.h"
#include "apps/intouch_app.h"
#include "apps/shell_app_source.h"
#include "base/ascii.h"
#include "base/cp1252.h"
#include "base/format.h"
#include "platform/dispatch/local_server.h"
#include "platform/env.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/path_resolver.h"
#include "platform/prefix.h"
#include "platform/registry.h"
#include "quellor-prefix/prefix_tool.h"

namespace quellor::prefix_tool {
namespace {

FileSystem& Files() { return Env::Default().file_system(); }

// A word a shell takes as it is: quoted when it holds anything but plain characters.
std::string ShellWord(const std::string& text) {
  const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("/._-+:=,").find(c) != std::string_view::npos;
  });
  return plain ? text : "'" + text + "'";
}

// Where a program path (Windows-1252) lies on the host, for the report: " -> HOST", or the
// reason it names nothing.
std::string OnHost(std::string_view windows_path) {
  const Result<std::string> host = ResolvePath(windows_path);
  return host.ok() ? " -> " + *host : " (" + host.status().message() + ")";
}

class Check final {
 public:
  explicit Check(const std::string& prefix_dir)
      : create_command_("quellor-prefix create --prefix " + ShellWord(prefix_dir)) {}

  void Found(const std::string& text) { Say("found", text); }
  void Note(const std::string& text) { Say("note", text); }
  void Missing(const std::string& text, const std::string& fix) {
    Say("MISSING", text + "; fix: " + fix);
    complete_ = false;
  }
  // The fix for anything `create` makes.
  const std::string& create_command() const { return create_command_; }
  int exit_code() const { return complete_ ? kExitOk : kExitIncomplete; }

 private:
  const std::string create_command_;
  bool complete_ = true;
};

bool CheckPrefix(Check& check, const PrefixLocation& prefix) {
  if (prefix.dir.empty()) {
    check.Missing("machine: neither QUELLOR_PREFIX nor HOME is set",
                  "quellor-prefix create --prefix DIR, then QUELLOR_PREFIX=DIR");
    return false;
  }
  const std::string text =
      "machine " + prefix.dir +
      (prefix.chosen_by == PrefixChoice::kHome ? " ($HOME/.quellor)" : " (QUELLOR_PREFIX)");
  const Result<FileInfo> info = Files().Stat(prefix.dir, /*follow=*/true);
  if (!info.ok() || info->type != FileType::kDirectory) {
    check.Missing(text + " does not exist", check.create_command());
    return false;
  }
  check.Found(text);
  return true;
}

// The names in a folder that end in `suffix` (without regard to case), in byte order.
std::vector<std::string> NamesEndingIn(const std::string& folder, std::string_view suffix) {
  Result<std::vector<std::string>> names = Files().ListDirectory(folder);
  std::vector<std::string> matching;
  if (!names.ok()) return matching;
  for (const std::string& name : *names) {
    if (name.size() > suffix.size() &&
        EqualsIgnoreCase(std::string_view(name).substr(name.size() - suffix.size()), suffix)) {
      matching.push_back(name);
    }
  }
  std::sort(matching.begin(), matching.end());
  return matching;
}

void CheckRegistryFiles(Check& check, const std::string& prefix_dir) {
  const std::vector<std::string> names = NamesEndingIn(prefix_dir, ".reg");
  if (names.empty()) {
    check.Missing("registry: no *.reg file in " + prefix_dir, check.create_command());
  }
  for (const std::string& name : names) {
    const std::string path = prefix_dir + "/" + name;
    Registry scratch;
    const Result<std::string> bytes = ReadWholeFile(Utf8ToCp1252(path));
    if (bytes.ok() && scratch.AddFile(*bytes).ok()) {
      check.Found("registry " + path);
    } else {
      check.Missing("registry " + path +
                        " is not a registry file (no REGEDIT4 header): a build "
                        "skips it",
                    "rewrite it in the regedit export format, or remove it");
    }
  }
}

void CheckDrives(Check& check, const std::string& prefix_dir) {
  const std::string links = prefix_dir + "/dosdevices";
  const std::vector<std::string> names = NamesEndingIn(links, ":");
  if (names.empty()) {
    check.Missing(
        "drives: no drive letter in " + links + " (C:\\... names nothing)",
        "quellor-prefix create --prefix " + ShellWord(prefix_dir) + " --drive C:=HOSTDIR");
  }
  for (const std::string& name : names) {
    const std::string link = links + "/" + name;
    const Result<std::string> target = Files().ReadLink(link);
    const std::string drive = "drive " + ToUpperAscii(name) + " " + link;
    if (!target.ok()) {
      check.Missing(drive + " is not a symbolic link", "ln -sfn HOSTDIR " + ShellWord(link));
      continue;
    }
    const Result<FileInfo> info = Files().Stat(link, /*follow=*/true);
    if (info.ok() && info->type == FileType::kDirectory) {
      check.Found(drive + " -> " + *target);
    } else {
      check.Missing(drive + " -> " + *target + ", which is no folder",
                    "mkdir -p " + ShellWord(*target) + ", or ln -sfn HOSTDIR " + ShellWord(link));
    }
  }
}

void CheckShellApp(Check& check, const Registry& registry) {
  const std::string key = "HKEY_LOCAL_MACHINE\\" + std::string(kSuiteKey);
  const ShellAppSource source = LookUpShellAppSource(registry);
  if (!source.suite_key_exists) {
    return check.Missing("shell application: no key " + key, check.create_command());
  }
  if (source.value_name.empty()) {
    const std::string text = StringPrintf(
        "shell application: no value of %s fits HMI version %g (InTShellApp and the versioned "
        "ones)",
        key.c_str(), source.version);
    if (source.managed_elsewhere) {
      return check.Note(text + "; \"ManagedAppfile\" says the applications are made elsewhere");
    }
    return check.Missing(text, check.create_command());
  }
  const std::string text =
      StringPrintf("shell application %s \"%s\" (HMI version %g) = %s", key.c_str(),
                   source.value_name.c_str(), source.version, source.folder.c_str()) +
      OnHost(source.folder);
  if (PathExists(source.folder + "\\" + std::string(kAppMarkerFile))) {
    check.Found(Cp1252ToUtf8(text));
  } else {
    check.Missing(Cp1252ToUtf8(text) + ", which holds no Tagname.X", check.create_command());
  }
}

void CheckAppList(Check& check) {
  const std::string directory = AppListDirectory();
  if (directory.empty()) {
    return check.Missing("AppList.INI: no HMI installation folder (HKEY_LOCAL_MACHINE\\" +
                             std::string(kInTouchInstallationKey) +
                             " \"InstallPath\", or win.ini [InTouch Install] "
                             "\"InstallDirectory\"): no application is entered in AppList.INI",
                         check.create_command());
  }
  const std::string text = Cp1252ToUtf8("AppList.INI folder " + directory + OnHost(directory));
  if (IsDirectory(directory)) return check.Found(text);
  const Result<std::string> host = ResolvePath(directory);
  check.Missing(text + ", which does not exist",
                host.ok() ? "mkdir -p " + ShellWord(*host) : check.create_command());
}

void CheckListSeparator(Check& check, const Registry& registry) {
  const std::string value = "HKEY_CURRENT_USER\\Control Panel\\International \"sList\"";
  const std::optional<char> separator = ListSeparator();
  const bool set =
      registry.QueryString(RegistryRoot::kCurrentUser, "Control Panel\\International", "sList", 5)
          .ok();
  if (!separator)
    return check.Note("list separator: none (" + value +
                      " is empty): the command "
                      "line is one field");
  const std::string shown = Cp1252ToUtf8(std::string(1, *separator));
  if (set) return check.Found("list separator '" + shown + "' (" + value + ")");
  check.Note("list separator '" + shown + "' from the locale (" + value + " is not set)");
}

void CheckBuildWindow(Check& check) {
  const Result<std::string> socket = dispatch::FindLocalServer("BuildWin.UBuildWin");
  if (socket.ok()) return check.Found("build window BuildWin.UBuildWin at " + *socket);
  check.Note("build window: BuildWin.UBuildWin is not registered; messages go to standard output");
}

}  // namespace

int CheckMachine() {
  const PrefixLocation prefix = LocatePrefix();
  Check check(prefix.dir.empty() ? "DIR" : prefix.dir);
  if (!CheckPrefix(check, prefix)) return check.exit_code();
  CheckRegistryFiles(check, prefix.dir);
  CheckDrives(check, prefix.dir);
  const Registry& registry = Env::Default().registry();
  CheckShellApp(check, registry);
  CheckAppList(check);
  CheckListSeparator(check, registry);
  CheckBuildWindow(check);
  return check.exit_code();
}

}  // namespace quellor::prefix_tool
