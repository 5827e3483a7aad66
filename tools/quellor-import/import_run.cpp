// quellor-import ACCESS_FILE SQLITE_FILE: the import written to ".~NAME.PID" beside the
// target, synced, then renamed into place, so that the target is the whole import or is not
// there at all; without --force an existing target is refused, by the rename itself too.
// Temporary files of imports that were killed are removed first.
#include <string>

#include "base/cleanup.h"
#include "platform/env.h"
#include "platform/host_path.h"
#include "platform/temporary_file.h"
#include "quellor-import/import_command.h"
#include "tagdll/access/access_import.h"

namespace quellor::import_tool {
namespace {

// Access files of this size or more report progress without being asked.
constexpr std::uint64_t kLargeFileBytes = 32ull << 20;

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
  if (status.ok()) status = fs.SyncDirectory(ParentFolder(request.sqlite_path));
  return status;
}

}  // namespace

int RunImport(const ImportRequest& request) {
  FileSystem& fs = Env::Default().file_system();
  if (!request.force && fs.Stat(request.sqlite_path, /*follow=*/false).ok()) {
    return TargetFailure(request.sqlite_path,
                         Status::InvalidArgument("it exists (--force replaces it)"), "");
  }
  RemoveDeadTemporaries(fs, ParentFolder(request.sqlite_path), FinalName(request.sqlite_path));
  const std::string temporary = TemporaryPathFor(request.sqlite_path);
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
