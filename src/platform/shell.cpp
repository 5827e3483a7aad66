// The shell's copy and delete, through the file service, so that a failing file system of a
// test and the kill hook reach every write of a copy.
#include "platform/shell.h"

#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "base/cleanup.h"
#include "base/cp1252.h"
#include "platform/env.h"
#include "platform/errno_status.h"
#include "platform/file_system.h"
#include "platform/host_path.h"
#include "platform/path_resolver.h"
#include "platform/temporary_file.h"
#include "platform/wildcard.h"

namespace quellor {
namespace {

constexpr std::size_t kCopyBlock = 1 << 16;

FileSystem& Fs() { return Env::Default().file_system(); }

bool IsFolder(const std::string& path) {
  Result<FileInfo> info = Fs().Stat(path, /*follow=*/true);
  return info.ok() && info->type == FileType::kDirectory;
}

// Creates `folder` and its missing parents. Through the file service, so that a read-only
// parent refuses the folder as it does every other folder the build makes, also to root.
Status MakeFolders(const std::string& folder) {
  if (Result<FileInfo> info = Fs().Stat(folder, /*follow=*/true); info.ok()) {
    return info->type == FileType::kDirectory ? Status::Ok() : ErrnoStatus(folder, ENOTDIR);
  }
  const std::size_t slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0) {
    if (Status parent = MakeFolders(folder.substr(0, slash)); !parent.ok()) return parent;
  }
  Status made = Fs().MakeDirectory(folder);
  return made.ok() || IsFolder(folder) ? Status::Ok() : made;
}

// Makes the entry `to` with `make_at`, which makes it at the path it is given: under this
// process's temporary name first, then renamed over `to` (an existing file or link is
// replaced, a read-only one too: the copy replaces without asking). So `to` is never a part
// of the new entry; the temporary one goes on failure.
template <typename MakeAt>
Status PlaceEntry(const std::string& to, MakeAt make_at) {
  const std::string temp = TemporaryPathFor(to);
  (void)Fs().Remove(temp);  // a link would not be made over one left behind
  Cleanup undo([&] { (void)Fs().Remove(temp); });
  if (Status made = make_at(temp); !made.ok()) return made;
  if (Status renamed = Fs().Rename(temp, to, RenameMode::kReplace); !renamed.ok()) return renamed;
  undo.Cancel();
  return Status::Ok();
}

// The bytes of `from` in a new file at `path` with the permission bits `mode`, synced.
Status WriteCopy(File& from, const std::string& path, std::uint32_t mode) {
  OpenOptions options;
  options.access = FileAccess::kReadWrite;
  options.creation = FileCreation::kCreateOrTruncate;
  options.create_mode = 0600;
  Result<std::unique_ptr<File>> out = Fs().Open(path, options);
  if (!out.ok()) return out.status();
  std::vector<std::uint8_t> block(kCopyBlock);
  for (std::uint64_t offset = 0;;) {
    Result<std::size_t> read = from.ReadAt(offset, block);
    if (!read.ok()) return read.status();
    if (Status written = (*out)->WriteAt(offset, {block.data(), *read}); !written.ok()) {
      return written;
    }
    offset += *read;
    if (*read < block.size()) break;
  }
  if (Status moded = (*out)->SetMode(mode); !moded.ok()) return moded;
  return (*out)->Sync();
}

Status CopyFile(const std::string& from, const std::string& to, std::uint32_t mode) {
  Result<std::unique_ptr<File>> in = Fs().Open(from, OpenOptions{});
  if (!in.ok()) return in.status();
  return PlaceEntry(to, [&](const std::string& temp) { return WriteCopy(**in, temp, mode); });
}

Status CopyLink(const std::string& from, const std::string& to) {
  Result<std::string> target = Fs().ReadLink(from);
  if (!target.ok()) return target.status();
  return PlaceEntry(to, [&](const std::string& temp) { return Fs().Symlink(*target, temp); });
}

Status CopyEntry(const std::string& from, const std::string& to);

// Copies the entries `names` of `from` into `to`, in order, then syncs `to`, so that what it
// holds is on the disk before anything the copy makes after it.
Status CopyEntries(const std::string& from, const std::string& to,
                   const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    Status copied = CopyEntry(JoinHostPath(from, name), JoinHostPath(to, name));
    if (!copied.ok()) return copied;
  }
  return Fs().SyncDirectory(to);
}

// A folder's whole content; its own mode is set last, so that a read-only source folder
// still lets the copy be filled.
Status CopyFolder(const std::string& from, const std::string& to, std::uint32_t mode) {
  if (Status made = Fs().MakeDirectory(to); !made.ok() && !IsFolder(to)) return made;
  RemoveDeadTemporaries(Fs(), to);
  Result<std::vector<std::string>> names = Fs().ListDirectory(from);
  if (!names.ok()) return names.status();
  if (Status copied = CopyEntries(from, to, *names); !copied.ok()) return copied;
  OpenOptions folder;
  folder.directory = true;
  Result<std::unique_ptr<File>> copy = Fs().Open(to, folder);
  if (!copy.ok()) return copy.status();
  return (*copy)->SetMode(mode);
}

Status CopyEntry(const std::string& from, const std::string& to) {
  Result<FileInfo> info = Fs().Stat(from, /*follow=*/false);
  if (!info.ok()) return info.status();
  switch (info->type) {
    case FileType::kSymlink:
      return CopyLink(from, to);
    case FileType::kDirectory:
      return CopyFolder(from, to, info->mode);
    case FileType::kRegular:
      return CopyFile(from, to, info->mode);
    default:
      // A pipe or a device would block the copy or copy without end.
      return Status::Unsupported(from + ": not a file or folder");
  }
}

// A copy into the source folder itself would replace files by themselves (losing them) and
// one into a folder below it would never end; the shell refuses both.
bool InsideOrSame(const std::string& destination, const std::string& source) {
  const Result<std::string> dest = WeaklyCanonical(Fs(), destination);
  const Result<std::string> src = WeaklyCanonical(Fs(), source);
  if (!dest.ok() || !src.ok()) return false;
  return *dest == *src || (dest->size() > src->size() && dest->compare(0, src->size(), *src) == 0 &&
                           (*dest)[src->size()] == '/');
}

}  // namespace

Status CopyFolderEntries(std::string_view destination_folder, std::string_view source_folder,
                         std::string_view pattern, std::string_view last_entry) {
  if (pattern.empty()) return Status::InvalidArgument("no pattern to copy");
  Result<std::string> source = ResolvePath(source_folder);
  if (!source.ok()) return source.status();
  Result<FileInfo> info = Fs().Stat(*source, /*follow=*/true);
  if (!info.ok()) return info.status();
  if (info->type != FileType::kDirectory) return ErrnoStatus(*source, ENOTDIR);
  Result<std::vector<std::string>> names = Fs().ListDirectory(*source);
  if (!names.ok()) return names.status();
  Result<std::string> destination = ResolvePath(destination_folder);
  if (!destination.ok()) return destination.status();
  if (InsideOrSame(*destination, *source)) {
    return Status::InvalidArgument(*destination + ": the destination lies within the source " +
                                   *source);
  }
  if (Status made = MakeFolders(*destination); !made.ok()) return made;
  RemoveDeadTemporaries(Fs(), *destination);

  const std::string utf8_pattern = Cp1252ToUtf8(pattern);
  const std::string utf8_last = Cp1252ToUtf8(last_entry);
  std::vector<std::string> first;
  std::vector<std::string> last;
  for (std::string& name : *names) {
    if (!MatchesWildcard(utf8_pattern, name)) continue;
    const bool is_last = !utf8_last.empty() && EqualsIgnoreCase(name, utf8_last);
    (is_last ? last : first).push_back(std::move(name));
  }
  if (Status copied = CopyEntries(*source, *destination, first); !copied.ok()) return copied;
  if (last.empty()) return Status::Ok();
  return CopyEntries(*source, *destination, last);
}

Status DeleteFileSilently(std::string_view windows_path) {
  Result<std::string> host = ResolvePath(windows_path);
  if (!host.ok()) return host.status();
  return Fs().Remove(*host);
}

}  // namespace quellor
