#include "platform/files.h"

#include "base/format.h"
#include "platform/env.h"
#include "platform/path_resolver.h"

namespace quellor {
namespace {

FileSystem& Fs() { return Env::Default().file_system(); }

Result<FileInfo> StatProgramPath(std::string_view windows_path) {
  Result<std::string> host = ResolvePath(windows_path);
  if (!host.ok()) return host.status();
  return Fs().Stat(*host, /*follow=*/true);
}

}  // namespace

Status ReadAtExactly(File& file, std::uint64_t offset, std::span<std::uint8_t> out) {
  const Result<std::size_t> read = file.ReadAt(offset, out);
  if (!read.ok()) return read.status();
  if (*read == out.size()) return Status::Ok();
  return Status::Corruption(StringPrintf("%s: ends at byte %llu, inside what was read",
                                         file.path().c_str(),
                                         static_cast<unsigned long long>(offset + *read)));
}

Result<std::string> ReadAll(File& file) {
  Result<std::uint64_t> size = file.Size();
  if (!size.ok()) return size.status();
  // One byte more than the size, so that a file that grew meanwhile is read to its end too.
  std::string bytes(static_cast<std::size_t>(*size) + 1, '\0');
  std::size_t have = 0;
  for (;;) {
    Result<std::size_t> n = file.ReadAt(
        have, {reinterpret_cast<std::uint8_t*>(bytes.data()) + have, bytes.size() - have});
    if (!n.ok()) return n.status();
    have += *n;
    if (have < bytes.size()) {
      bytes.resize(have);
      return bytes;
    }
    bytes.resize(bytes.size() * 2);
  }
}

Result<std::string> ReadWholeFile(std::string_view windows_path) {
  Result<std::string> host = ResolvePath(windows_path);
  if (!host.ok()) return host.status();
  Result<std::unique_ptr<File>> file = Fs().Open(*host, OpenOptions{});
  if (!file.ok()) return file.status();
  return ReadAll(**file);
}

bool PathExists(std::string_view windows_path) {
  Result<std::string> host = ResolvePath(windows_path);
  return host.ok() && Fs().Stat(*host, /*follow=*/false).ok();
}

bool IsDirectory(std::string_view windows_path) {
  Result<FileInfo> info = StatProgramPath(windows_path);
  return info.ok() && info->type == FileType::kDirectory;
}

Status MakeDirectory(std::string_view windows_path) {
  Result<std::string> host = ResolvePath(windows_path);
  if (!host.ok()) return host.status();
  return Fs().MakeDirectory(*host);
}

Status RemoveFile(std::string_view windows_path) {
  Result<std::string> host = ResolvePath(windows_path);
  if (!host.ok()) return host.status();
  return Fs().Remove(*host);
}

Result<std::unique_ptr<File>> OpenExclusive(std::string_view windows_path,
                                            ExclusiveCreation creation) {
  Result<std::string> host = ResolvePath(windows_path);
  if (!host.ok()) return host.status();
  OpenOptions options;
  options.access = FileAccess::kReadWrite;
  options.creation = creation == ExclusiveCreation::kCreateIfMissing
                         ? FileCreation::kCreateIfMissing
                         : FileCreation::kOpenExisting;
  options.lock = FileLock::kExclusiveNoWait;
  return Fs().Open(*host, options);
}

}  // namespace quellor
