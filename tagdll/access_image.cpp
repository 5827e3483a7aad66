#include "tagdll/access_image.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "base/ascii.h"
#include "base/format.h"
#include "platform/env.h"
#include "platform/helper_process.h"
#include "platform/library_loader.h"
#include "platform/prefix.h"
#include "platform/process.h"
#include "platform/temporary_file.h"
#include "tagdll/access/import_version.h"
#include "tagdll/error_line.h"
#include "tagdll/sqlite_handles.h"

namespace quellor::tagdll {
namespace {

// An Access file that changes during every import is refused after this many.
constexpr int kMaxImports = 3;
constexpr char kStampTable[] = "QuellorAccessImage";

FileSystem& Files() { return Env::Default().file_system(); }

Status CannotRead(const std::string& access_path, std::string_view reason) {
  return Status::IoError(StringPrintf("the Access file %s cannot be read: %.*s",
                                      access_path.c_str(), static_cast<int>(reason.size()),
                                      reason.data()));
}

// What the image was made from; equal stamps mean the image is current.
Result<std::string> StampOf(const std::string& access_path) {
  Result<FileInfo> info = Files().Stat(access_path, /*follow=*/true);
  if (!info.ok()) return info.status();
  return StringPrintf("%s\nsize %llu\nmodified %lld\ninode %llu\nchanged %lld\nimporter %d",
                      access_path.c_str(), static_cast<unsigned long long>(info->size),
                      static_cast<long long>(info->modified_ns),
                      static_cast<unsigned long long>(info->inode),
                      static_cast<long long>(info->changed_ns), access::kImportVersion);
}

// The stamp an image holds; empty when it has none or cannot be read.
std::string StampInImage(const std::string& image_path) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(image_path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  const ConnectionPtr connection(raw);
  sqlite3_stmt* statement = nullptr;
  const std::string sql = StringPrintf("SELECT Stamp FROM %s", kStampTable);
  if (raw == nullptr ||
      sqlite3_prepare_v2(raw, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    return "";
  }
  const StatementPtr owner(statement);
  if (sqlite3_step(statement) != SQLITE_ROW) return "";
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  return text != nullptr ? text : "";
}

Status WriteStamp(const std::string& image_path, const std::string& stamp) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(image_path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  const ConnectionPtr connection(raw);
  if (raw == nullptr) return Status::IoError(image_path + ": out of memory");
  sqlite3_stmt* statement = nullptr;
  const std::string create = StringPrintf("CREATE TABLE %s (Stamp TEXT)", kStampTable);
  const std::string insert = StringPrintf("INSERT INTO %s VALUES (?1)", kStampTable);
  if (sqlite3_exec(raw, create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_prepare_v2(raw, insert.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    return Status::IoError(image_path + ": " + sqlite3_errmsg(raw));
  }
  const StatementPtr owner(statement);
  sqlite3_bind_text(statement, 1, stamp.data(), static_cast<int>(stamp.size()), SQLITE_STATIC);
  if (sqlite3_step(statement) != SQLITE_DONE) {
    return Status::IoError(image_path + ": " + sqlite3_errmsg(raw));
  }
  return Status::Ok();
}

// The image's file name: the Access file's name, made safe, and a hash of its whole path, so
// that two projects' Project.mdb never share an image.
std::string ImageName(const std::string& access_path) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;  // FNV-1a
  for (const char c : access_path) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
  }
  std::string name = access_path.substr(access_path.find_last_of('/') + 1);
  for (char& c : name) {
    const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '-' || c == '_';
    if (!safe) c = '_';
  }
  return StringPrintf("%s-%016llx.sqlite", name.c_str(), static_cast<unsigned long long>(hash));
}

// Makes a folder and its missing parents.
Status MakeFolders(const std::string& path) {
  if (Files().Stat(path, true).ok()) return Status::Ok();
  const std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) {
    if (Status parent = MakeFolders(path.substr(0, slash)); !parent.ok()) return parent;
  }
  const Status made = Files().MakeDirectory(path);
  return made.ok() || Files().Stat(path, true).ok() ? Status::Ok() : made;
}

// quellor-import beside the library (the build tree), else where the installation puts the
// programs relative to the library's private folder.
std::string ImportHelperPath() {
  const std::string folder = FolderOfCode(reinterpret_cast<const void*>(&AccessImageOf));
  const std::string beside = folder + "/quellor-import";
  if (Files().Stat(beside, true).ok()) return beside;
  return folder + "/" QUELLOR_LIBRARY_TO_PROGRAMS "/quellor-import";
}

// Says so when Access holds the file open: its lock file lies beside it.
void MentionOpenInAccess(const std::string& access_path) {
  const std::size_t slash = access_path.find_last_of('/');
  const std::string folder = access_path.substr(0, slash);
  std::string stem = access_path.substr(slash + 1);
  stem = stem.substr(0, stem.find_last_of('.'));
  Result<std::vector<std::string>> names = Files().ListDirectory(folder);
  if (!names.ok()) return;
  for (const std::string& name : *names) {
    if (EqualsIgnoreCase(name, stem + ".ldb") || EqualsIgnoreCase(name, stem + ".laccdb")) {
      WriteErrorLine(StringPrintf("%s is open in Access (%s exists): importing it as it is",
                                  access_path.c_str(), name.c_str()));
      return;
    }
  }
}

// Runs the helper once; the import lies at `temporary` when it succeeds.
Status RunImport(const std::string& access_path, const std::string& temporary,
                 std::chrono::milliseconds stall_timeout) {
  const Result<HelperOutcome> outcome =
      RunHelper({ImportHelperPath(), "--progress", "--watched", std::to_string(CurrentProcessId()),
                 "--force", access_path, temporary},
                stall_timeout);
  if (!outcome.ok()) return CannotRead(access_path, outcome.status().message());
  switch (outcome->end) {
    case HelperOutcome::End::kExited:
      if (outcome->code == 0) return Status::Ok();
      // The helper's last line is its reason, said already as this library says it.
      if (outcome->last_line.starts_with("the Access file ")) {
        return Status::IoError(outcome->last_line);
      }
      return CannotRead(access_path,
                        outcome->last_line.empty()
                            ? StringPrintf("the import failed (exit code %d)", outcome->code)
                            : outcome->last_line);
    case HelperOutcome::End::kSignalled:
      return CannotRead(access_path, StringPrintf("the import crashed (signal %d)", outcome->code));
    case HelperOutcome::End::kStalled:
      return CannotRead(access_path, "the import stopped making progress and was ended");
  }
  return Status::Ok();
}

// One import into a temporary file that replaces the image, stamped with `stamp`. False
// when the Access file changed while the helper read it: that import is thrown away.
Result<bool> ImportOnce(const std::string& access_path, const std::string& folder,
                        const std::string& image_name, const std::string& stamp,
                        std::chrono::milliseconds stall_timeout) {
  const std::string temporary = TemporaryPathFor(folder + "/" + image_name);
  auto discard = [&] { (void)Files().Remove(temporary); };
  if (Status done = RunImport(access_path, temporary, stall_timeout); !done.ok()) {
    discard();
    return done;
  }
  Result<std::string> after = StampOf(access_path);
  if (!after.ok() || *after != stamp) {
    discard();
    if (!after.ok()) return CannotRead(access_path, after.status().message());
    return false;
  }
  Status placed = WriteStamp(temporary, stamp);
  if (placed.ok())
    placed = Files().Rename(temporary, folder + "/" + image_name, RenameMode::kReplace);
  if (placed.ok()) placed = Files().SyncDirectory(folder);
  if (!placed.ok()) {
    discard();
    return CannotRead(access_path, placed.message());
  }
  return true;
}

// Imports under the image's lock, again while the Access file changes meanwhile.
Status Import(const std::string& access_path, const std::string& folder,
              const std::string& image_name, std::chrono::milliseconds stall_timeout) {
  const std::string image_path = folder + "/" + image_name;
  OpenOptions lock_options;
  lock_options.access = FileAccess::kReadWrite;
  lock_options.creation = FileCreation::kCreateIfMissing;
  lock_options.lock = FileLock::kExclusiveWait;
  Result<std::unique_ptr<File>> lock = Files().Open(image_path + ".lock", lock_options);
  if (!lock.ok()) return CannotRead(access_path, lock.status().message());
  RemoveDeadTemporaries(Files(), folder, image_name);
  for (int attempt = 0; attempt < kMaxImports; ++attempt) {
    Result<std::string> stamp = StampOf(access_path);
    if (!stamp.ok()) return CannotRead(access_path, stamp.status().message());
    if (StampInImage(image_path) == *stamp) return Status::Ok();  // another build made it
    if (attempt == 0) MentionOpenInAccess(access_path);
    Result<bool> placed = ImportOnce(access_path, folder, image_name, *stamp, stall_timeout);
    if (!placed.ok()) return placed.status();
    if (*placed) return Status::Ok();
  }
  return CannotRead(access_path, "it changed during every import");
}

// The system's temporary folder: TMPDIR, else /tmp.
std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

}  // namespace

Result<std::string> AccessImageOf(const std::string& access_path,
                                  std::chrono::milliseconds stall_timeout) {
  Result<std::string> resolved = Files().RealPath(access_path);
  if (!resolved.ok()) return CannotRead(access_path, resolved.status().message());
  const std::string& source = *resolved;
  const std::string prefix = PrefixDir();
  if (prefix.empty()) {
    return CannotRead(source,
                      "there is no prefix to keep its SQLite image in (set QUELLOR_PREFIX)");
  }
  const std::string folder = prefix + "/cache/access";
  const std::string image_name = ImageName(source);
  const std::string image_path = folder + "/" + image_name;
  Result<std::string> stamp = StampOf(source);
  if (!stamp.ok()) return CannotRead(source, stamp.status().message());
  if (StampInImage(image_path) == *stamp) return image_path;
  if (Status made = MakeFolders(folder); !made.ok()) return CannotRead(source, made.message());
  if (Status imported = Import(source, folder, image_name, stall_timeout); !imported.ok())
    return imported;
  return image_path;
}

Result<AccessImageSource> AccessImageForReading(const std::string& access_path,
                                                std::chrono::milliseconds stall_timeout) {
  Result<std::string> resolved = Files().RealPath(access_path);
  if (!resolved.ok()) return CannotRead(access_path, resolved.status().message());
  const std::string& source = *resolved;
  const std::string image_name = ImageName(source);
  const std::string prefix = PrefixDir();
  Result<std::string> stamp = StampOf(source);
  if (!stamp.ok()) return CannotRead(source, stamp.status().message());
  if (!prefix.empty()) {
    const std::string image_path = prefix + "/cache/access/" + image_name;
    if (StampInImage(image_path) == *stamp) return AccessImageSource{image_path, false};
  }
  MentionOpenInAccess(source);
  const std::string temporary =
      TemporaryFolder() + "/" + TemporaryFileName(image_name, CurrentProcessId());
  if (Status imported = RunImport(source, temporary, stall_timeout); !imported.ok()) {
    (void)Files().Remove(temporary);
    return imported;
  }
  return AccessImageSource{temporary, true};
}

}  // namespace quellor::tagdll
