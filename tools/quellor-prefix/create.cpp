// quellor-prefix create: a machine from nothing. Every step makes only what is missing, so the
// command can be run again; an existing drive link to another folder is left as it is and
// reported, as the user asked for something else.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "apps/intouch_app.h"
#include "base/cp1252.h"
#include "base/format.h"
#include "platform/atomic_file.h"
#include "platform/env.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "quellor-prefix/machine_layout.h"
#include "quellor-prefix/prefix_tool.h"

namespace quellor::prefix_tool {
namespace {

FileSystem& Files() { return Env::Default().file_system(); }

bool Exists(const std::string& host_path, bool follow = true) {
  return Files().Stat(host_path, follow).ok();
}

// As mkdir -p.
Status MakeFolders(const std::string& host_path) {
  std::string path;
  for (const auto& part : std::filesystem::path(host_path)) {
    path = (std::filesystem::path(path) / part).string();
    if (Exists(path)) continue;
    if (Status made = Files().MakeDirectory(path); !made.ok()) return made;
  }
  return Status::Ok();
}

class Creation final {
 public:
  explicit Creation(std::string prefix_dir) : prefix_dir_(std::move(prefix_dir)) {}

  void Folder(std::string_view what, const std::string& host_path) {
    if (Exists(host_path)) return Say("kept", std::string(what) + " " + host_path);
    Outcome(MakeFolders(host_path), what, host_path);
  }

  // Returns the folder the drive maps to afterwards: an existing link is kept as it is.
  std::string DriveLink(const DriveMapping& drive) {
    const char letter = static_cast<char>(drive.letter - 'a' + 'A');
    const std::string link = prefix_dir_ + "/dosdevices/" + drive.letter + ":";
    const std::string what = StringPrintf("drive %c:", letter);
    if (!Exists(link, /*follow=*/false)) {
      Folder(what + " folder", drive.host_dir);
      Outcome(Files().Symlink(drive.host_dir, link), what, link + " -> " + drive.host_dir);
      return drive.host_dir;
    }
    const Result<std::string> target = Files().ReadLink(link);
    if (target.ok() && *target == drive.host_dir) {
      Say("kept", what + " " + link + " -> " + *target);
      return *target;
    }
    Failed(what + " " + link + " is " + (target.ok() ? "a link to " + *target : "no link") +
           ", not one to " + drive.host_dir + "; left as it is (remove it to map the drive anew)");
    return target.ok() ? *target : link;
  }

  void RegistryFile() {
    const std::string path = prefix_dir_ + "/" + std::string(kRegistryFileName);
    if (Exists(path)) return Say("kept", "registry " + path);
    Outcome(ReplaceFileAtomically(Utf8ToCp1252(path), MachineRegistryText()), "registry", path);
  }

  // The suite's shell application, copied whole unless the folder holds one already.
  void ShellApp(const std::string& drive_c, const std::string& data_dir) {
    const std::string folder = OnDriveC(drive_c, kShellAppFolder);
    // The file a copy writes last, found without regard to case as the build finds it.
    if (PathExists(Utf8ToCp1252(folder) + "\\" + std::string(kAppMarkerFile))) {
      return Say("kept", "shell application " + folder);
    }
    if (data_dir.empty()) {
      return Failed("shell application: no share/quellor/shell beside this program to copy to " +
                    folder);
    }
    const std::string source = data_dir + "/shell";
    Outcome(CopyFolderEntries(Utf8ToCp1252(folder), Utf8ToCp1252(source), "*.*", kAppMarkerFile),
            "shell application", folder + " (from " + source + ")");
  }

  int exit_code() const { return complete_ ? kExitOk : kExitIncomplete; }

 private:
  void Outcome(const Status& status, std::string_view what, const std::string& where) {
    if (status.ok()) return Say("made", std::string(what) + " " + where);
    Failed(std::string(what) + " " + where + ": " + status.message());
  }
  void Failed(const std::string& text) {
    Say("FAILED", text);
    complete_ = false;
  }

  const std::string prefix_dir_;
  bool complete_ = true;
};

}  // namespace

int CreateMachine(const std::string& prefix_dir, std::span<const DriveMapping> drives,
                  const std::string& data_dir) {
  std::vector<DriveMapping> all(drives.begin(), drives.end());
  const auto is_c = [](const DriveMapping& drive) { return drive.letter == 'c'; };
  if (std::none_of(all.begin(), all.end(), is_c)) {
    all.push_back({'c', prefix_dir + "/" + std::string(kDefaultDriveC)});
  }

  Creation creation(prefix_dir);
  creation.Folder("machine", prefix_dir);
  creation.Folder("drive links", prefix_dir + "/dosdevices");
  std::string drive_c;
  for (const DriveMapping& drive : all) {
    const std::string mapped = creation.DriveLink(drive);
    if (is_c(drive)) drive_c = mapped;
  }
  creation.RegistryFile();
  creation.Folder("HMI installation", OnDriveC(drive_c, kInstallFolder));
  creation.Folder("AppList.INI folder", OnDriveC(drive_c, kAppListFolder));
  creation.ShellApp(drive_c, data_dir);
  return creation.exit_code();
}

}  // namespace quellor::prefix_tool
