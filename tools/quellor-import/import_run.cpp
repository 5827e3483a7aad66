// quellor-import ACCESS_FILE SQLITE_FILE: the import written to ".~NAME.PID" beside the
// target, synced, then renamed into place, so that the target is the whole import or is not
// there at all; without --force an existing target is refused, by the rename itself too.
// Temporary files of imports that were killed are removed first.
#include <charconv>
#include <string>

#include "base/cleanup.h"
#include "platform/atomic_file.h"
#include "platform/env.h"
#include "platform/process.h"
#include "quellor-import/import_command.h"
#include "tagdll/access/access_import.h"

namespace quellor::import_tool {
namespace {

// Access files of this size or more report progress without being asked.
constexpr std::uint64_t kLargeFileBytes = 32ull << 20;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Removes ".~NAME.PID" files whose process no longer exists.
void RemoveLeftovers(FileSystem& fs, const std::string& folder, const std::string& name) {
  Result<std::vector<std::string>> entries = fs.ListDirectory(folder);
  if (!entries.ok()) return;
  const std::string stem = ".~" + name + ".";
  for (const std::string& entry : *entries) {
    if (entry.size() <= stem.size() || !entry.starts_with(stem)) continue;
    int pid = 0;
    const char* last = entry.data() + entry.size();
    const auto [end, error] = std::from_chars(entry.data() + stem.size(), last, pid);
    if (error != std::errc() || end != last || ProcessExists(pid)) continue;
    (void)fs.Remove(folder + "/" + entry);  // another import may have removed it first
  }
}

bool WantsProgress(FileSystem& fs, const ImportRequest& request) {
  if (request.progress) return true;
  Result<FileInfo> info = fs.Stat(request.access_path, /*follow=*/true);
  return info.ok() && info->size >= kLargeFileBytes;
}

// "the SQLite file PATH cannot be written: REASON", the reason without a path it starts with.
int TargetFailure(const std::string& path, const Status& status, const std::string& temporary) {
  std::string reason = status.message();
  for (const std::string& named : {path, temporary}) {
    if (reason.starts_with(named + ": ")) reason.erase(0, named.size() + 2);
  }
  PrintErrorLine("the SQLite file " + path + " cannot be written: " + reason);
  return kExitTargetUnwritable;
}

// Syncs the finished temporary file and renames it over the target.
Status PutInPlace(FileSystem& fs, const std::string& temporary, const ImportRequest& request) {
  Result<std::unique_ptr<File>> file = fs.Open(temporary, OpenOptions{});
  Status status = file.ok() ? (*file)->Sync() : file.status();
  if (status.ok()) {
    status = fs.Rename(temporary, request.sqlite_path,
                       request.force ? RenameMode::kReplace : RenameMode::kNoReplace);
  }
  if (status.ok()) status = fs.SyncDirectory(FolderOf(request.sqlite_path));
  return status;
}

}  // namespace

int RunImport(const ImportRequest& request) {
  FileSystem& fs = Env::Default().file_system();
  if (!request.force && fs.Stat(request.sqlite_path, /*follow=*/false).ok()) {
    return TargetFailure(request.sqlite_path,
                         Status::InvalidArgument("it exists (--force replaces it)"), "");
  }
  const std::string folder = FolderOf(request.sqlite_path);
  const std::string name = NameOf(request.sqlite_path);
  RemoveLeftovers(fs, folder, name);
  const std::string temporary = folder + "/" + TemporaryFileName(name, CurrentProcessId());
  (void)fs.Remove(temporary);
  Cleanup remove_temporary([&] { (void)fs.Remove(temporary); });

  tagdll::access::ImportOptions options;
  options.shown_sqlite_path = request.sqlite_path;
  if (WantsProgress(fs, request)) {
    options.progress = [](const std::string& line) { PrintErrorLine(line); };
  }
  options.warning = [](const std::string& line) { PrintErrorLine("warning: " + line); };
  const Status status = tagdll::access::ImportAccessFile(request.access_path, temporary, options);
  if (!status.ok()) {
    PrintErrorLine(status.message());
    return tagdll::access::IsSqliteFileFailure(status) ? kExitTargetUnwritable
                                                       : kExitAccessUnreadable;
  }
  if (const Status placed = PutInPlace(fs, temporary, request); !placed.ok()) {
    return TargetFailure(request.sqlite_path, placed, temporary);
  }
  remove_temporary.Cancel();
  return kExitOk;
}

}  // namespace quellor::import_tool
