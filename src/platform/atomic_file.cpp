#include "platform/atomic_file.h"

#include <memory>
#include <optional>

#include "base/cleanup.h"
#include "platform/env.h"
#include "platform/file_system.h"
#include "platform/host_path.h"
#include "platform/path_lock.h"
#include "platform/path_resolver.h"
#include "platform/temporary_file.h"

namespace quellor {
namespace {

constexpr int kMaxLinkHops = 40;

// The entry a rename must replace: the file at the end of a chain of symbolic links.
Result<std::string> FollowLinks(FileSystem& fs, std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    Result<FileInfo> info = fs.Stat(path, /*follow=*/false);
    if (!info.ok() || info->type != FileType::kSymlink) return path;
    Result<std::string> target = fs.ReadLink(path);
    if (!target.ok()) return target.status();
    path = (!target->empty() && target->front() == '/') ? *target
                                                        : JoinHostPath(ParentFolder(path), *target);
  }
  return Status::IoError(path + ": too many levels of symbolic links");
}

// The temporary file, written and synced, with the target's mode (none: as a new file gets);
// locked when the target's lock is to move to it.
Result<std::unique_ptr<File>> WriteTemporary(FileSystem& fs, const std::string& temp,
                                             std::optional<std::uint32_t> mode,
                                             const ContentWriter& write_content, FileLock lock) {
  OpenOptions options;
  options.access = FileAccess::kReadWrite;
  options.creation = FileCreation::kCreateOrTruncate;
  options.lock = lock;
  Result<std::unique_ptr<File>> file = fs.Open(temp, options);
  if (!file.ok()) return file.status();
  Status status = mode ? (*file)->SetMode(*mode) : Status::Ok();
  if (status.ok()) status = write_content(**file);
  if (status.ok()) status = (*file)->Sync();
  if (!status.ok()) return status;
  return file;
}

// A missing target: the new file is written and synced under its temporary name, locked, and
// then appears under the target's name whole, by a rename that never replaces. So a crash
// leaves no file or the whole new one, never an empty file that a later read would refuse.
// Kept while another process makes the target first: then the target is replaced as usual.
Result<bool> CreateMissingTarget(FileSystem& fs, const std::string& target,
                                 const ContentWriter& write_content) {
  const std::string folder = ParentFolder(target);
  RemoveDeadTemporaries(fs, folder, FinalName(target));
  const std::string temp = TemporaryPathFor(target);
  Cleanup undo([&] { (void)fs.Remove(temp); });
  Result<std::unique_ptr<File>> written =
      WriteTemporary(fs, temp, std::nullopt, write_content, FileLock::kExclusiveNoWait);
  if (!written.ok()) return written.status();
  if (Status status = fs.Rename(temp, target, RenameMode::kNoReplace); !status.ok()) {
    if (fs.Stat(target, /*follow=*/false).ok()) return false;  // made meanwhile
    return status;
  }
  undo.Cancel();
  if (Status status = fs.SyncDirectory(folder); !status.ok()) return status;
  return true;
}

// The whole content in one write.
ContentWriter WholeContent(std::string_view bytes) {
  return [bytes](File& out) { return out.WriteAt(0, AsBytes(bytes)); };
}

}  // namespace

Status ReplaceHostFileAtomically(const std::string& host_path, const ContentWriter& write_content,
                                 const ReplaceOptions& options) {
  FileSystem& fs = Env::Default().file_system();
  Result<std::string> target_path = FollowLinks(fs, host_path);
  if (!target_path.ok()) return target_path.status();
  const std::string& target = *target_path;
  if (options.create_if_missing &&
      fs.Stat(target, /*follow=*/false).status().code() == StatusCode::kNotFound) {
    Result<bool> created = CreateMissingTarget(fs, target, write_content);
    if (!created.ok() || *created) return created.status();
  }

  // A lock this process holds on the file (path_lock.h) stands for the target's lock, and
  // moves to the new file with the rename.
  const bool locked_here = ProcessHoldsPathLock(target);
  OpenOptions open;
  open.access = FileAccess::kReadWrite;
  open.creation =
      options.create_if_missing ? FileCreation::kCreateIfMissing : FileCreation::kOpenExisting;
  open.lock = locked_here ? FileLock::kNone : FileLock::kExclusiveNoWait;
  Result<std::unique_ptr<File>> held = fs.Open(target, open);
  if (!held.ok()) return held.status();
  const bool created = (*held)->created();
  Result<FileInfo> info = (*held)->Stat();
  if (!info.ok()) return info.status();

  const std::string folder = ParentFolder(target);
  RemoveDeadTemporaries(fs, folder, FinalName(target));
  const std::string temp = TemporaryPathFor(target);
  Cleanup undo([&] {
    (void)fs.Remove(temp);
    if (created) (void)fs.Remove(target);
  });
  Result<std::unique_ptr<File>> written =
      WriteTemporary(fs, temp, info->mode, write_content,
                     locked_here ? FileLock::kExclusiveNoWait : FileLock::kNone);
  if (!written.ok()) return written.status();
  if (Status status = fs.Rename(temp, target, RenameMode::kReplace); !status.ok()) return status;
  undo.Cancel();  // the new file is in place; a failed folder sync leaves it there
  if (locked_here) MovePathLockTo(target, std::move(*written));
  return fs.SyncDirectory(folder);
}

Status ReplaceHostFileAtomically(const std::string& host_path, std::string_view bytes,
                                 const ReplaceOptions& options) {
  return ReplaceHostFileAtomically(host_path, WholeContent(bytes), options);
}

Status ReplaceFileAtomically(std::string_view windows_path, const ContentWriter& write_content,
                             const ReplaceOptions& options) {
  Result<std::string> host = ResolvePath(windows_path);
  if (!host.ok()) return host.status();
  return ReplaceHostFileAtomically(*host, write_content, options);
}

Status ReplaceFileAtomically(std::string_view windows_path, std::string_view bytes,
                             const ReplaceOptions& options) {
  return ReplaceFileAtomically(windows_path, WholeContent(bytes), options);
}

}  // namespace quellor
