#include "platform/overlay_file_system.h"

#include <cerrno>
#include <chrono>
#include <limits>
#include <set>

#include "platform/errno_status.h"
#include "platform/host_path.h"
#include "platform/overlay_content.h"
#include "platform/process.h"

namespace quellor {

struct OverlayFileSystem::Entry {
  FileType type = FileType::kRegular;
  std::uint32_t mode = 0;
  std::uint64_t inode = 0;
  std::int64_t modified_ns = 0;
  std::int64_t changed_ns = 0;
  OverlayContent content;   // a file's bytes
  std::string link_target;  // a symbolic link's text
};

namespace {

using Entry = OverlayFileSystem::Entry;
using EntryPtr = OverlayFileSystem::EntryPtr;

constexpr int kMaxLinkHops = 40;

std::int64_t Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void Touch(Entry& entry) { entry.modified_ns = entry.changed_ns = Now(); }

FileInfo InfoOf(const Entry& entry) {
  return {entry.type,  entry.mode,        entry.content.size(),
          entry.inode, entry.modified_ns, entry.changed_ns};
}

bool HasWriteBit(std::uint32_t mode) { return (mode & 0222) != 0; }

// The file system below names the key; the caller named the path it was given, as the host's
// file service would.
Status NamedAs(Status status, const std::string& key, const std::string& path) {
  if (key == path || !status.message().starts_with(key)) return status;
  return Status(status.code(), path + status.message().substr(key.size()));
}

// Pushes the components of `path` so that its first is taken next.
void PushComponents(std::string_view path, std::vector<std::string>& pending) {
  std::vector<std::string> components;
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t slash = path.find('/', start);
    if (slash == std::string_view::npos) slash = path.size();
    const std::string_view name = path.substr(start, slash - start);
    if (!name.empty() && name != ".") components.emplace_back(name);
    start = slash + 1;
  }
  pending.insert(pending.end(), components.rbegin(), components.rend());
}

// Where relative paths start; the root when the working folder is gone.
std::string WorkingFolder(FileSystem& below) {
  Result<std::string> folder = below.RealPath(".");
  return folder.ok() ? std::move(folder).value() : std::string("/");
}

}  // namespace

// An open file of the view. A file opened for reading that only the file system below holds is
// read from there (a mode set through it copies it up into the layer); one opened for writing
// is the layer's entry. `below_` also holds the lock taken at the open.
class OverlayFileSystem::LayerFile final : public File {
 public:
  LayerFile(OverlayFileSystem& layer, std::string key, std::string path, bool writable,
            bool created, EntryPtr entry, std::unique_ptr<File> below)
      : layer_(layer),
        key_(std::move(key)),
        path_(std::move(path)),
        writable_(writable),
        created_(created),
        entry_(std::move(entry)),
        below_(std::move(below)) {}

  Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    if (entry_ == nullptr) return below_->ReadAt(offset, out);
    return entry_->content.ReadAt(offset, out);
  }

  Status WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    if (Status writable = CheckWritable(); !writable.ok()) return writable;
    entry_->content.WriteAt(offset, data);
    Touch(*entry_);
    return Status::Ok();
  }

  Result<std::uint64_t> Size() override {
    if (entry_ == nullptr) return below_->Size();
    return entry_->content.size();
  }

  Status Extend(std::uint64_t size) override {
    if (Status writable = CheckWritable(); !writable.ok()) return writable;
    if (entry_->content.size() < size) {
      entry_->content.Resize(size);
      Touch(*entry_);
    }
    return Status::Ok();
  }

  Status Sync() override { return Status::Ok(); }

  Status SetMode(std::uint32_t mode) override {
    if (Status ready = CopyUp(); !ready.ok()) return ready;
    entry_->mode = mode;
    entry_->changed_ns = Now();
    return Status::Ok();
  }

  Result<FileInfo> Stat() override {
    if (entry_ == nullptr) return below_->Stat();
    return InfoOf(*entry_);
  }

  const std::string& path() const override { return path_; }
  bool created() const override { return created_; }

 private:
  Status CopyUp() {
    if (entry_ != nullptr) return Status::Ok();
    Result<EntryPtr> entry = layer_.EntryAt(key_);
    if (!entry.ok()) return NamedAs(entry.status(), key_, path_);
    entry_ = std::move(entry).value();
    return Status::Ok();
  }

  // A file opened for reading refuses writes, as the host's does; one opened for writing has
  // its entry from the open.
  Status CheckWritable() const { return writable_ ? Status::Ok() : ErrnoStatus(path_, EBADF); }

  OverlayFileSystem& layer_;
  const std::string key_;
  const std::string path_;
  const bool writable_;
  const bool created_;
  EntryPtr entry_;
  std::unique_ptr<File> below_;
};

OverlayFileSystem::OverlayFileSystem(FileSystem& below)
    : below_(below),
      working_folder_(WorkingFolder(below)),
      umask_(FileModeMask()),
      next_inode_(std::numeric_limits<std::uint64_t>::max()) {}

OverlayFileSystem::~OverlayFileSystem() = default;

std::uint64_t OverlayFileSystem::HeldBytes() const {
  std::uint64_t held = 0;
  for (const auto& [key, entry] : entries_) {
    if (entry != nullptr) held += entry->content.written_bytes();
  }
  return held;
}

Result<std::string> OverlayFileSystem::Resolve(const std::string& path, bool follow) {
  std::vector<std::string> pending;
  PushComponents(path.starts_with('/') ? path : JoinHostPath(working_folder_, path), pending);
  std::string current;  // "" is the root
  int hops = 0;
  while (!pending.empty()) {
    std::string name = std::move(pending.back());
    pending.pop_back();
    if (name == "..") {
      current.resize(current.rfind('/') == std::string::npos ? 0 : current.rfind('/'));
      continue;
    }
    std::string next = current + "/" + name;
    if (!pending.empty() || follow) {
      const Result<FileInfo> info = StatKey(next);
      if (info.ok() && info->type == FileType::kSymlink) {
        if (++hops > kMaxLinkHops) return ErrnoStatus(path, ELOOP);
        const Result<std::string> target = ReadLinkKey(next);
        if (!target.ok()) return NamedAs(target.status(), next, path);
        if (target->starts_with('/')) current.clear();
        PushComponents(*target, pending);
        continue;
      }
    }
    current = std::move(next);
  }
  return current.empty() ? std::string("/") : current;
}

Result<FileInfo> OverlayFileSystem::StatKey(const std::string& key) {
  const auto found = entries_.find(key);
  if (found == entries_.end()) return below_.Stat(key, /*follow=*/false);
  if (found->second == nullptr) return ErrnoStatus(key, ENOENT);
  return InfoOf(*found->second);
}

Result<std::string> OverlayFileSystem::ReadLinkKey(const std::string& key) {
  const auto found = entries_.find(key);
  if (found == entries_.end()) return below_.ReadLink(key);
  if (found->second == nullptr) return ErrnoStatus(key, ENOENT);
  if (found->second->type != FileType::kSymlink) return ErrnoStatus(key, EINVAL);
  return found->second->link_target;
}

Result<EntryPtr> OverlayFileSystem::EntryAt(const std::string& key) {
  const auto found = entries_.find(key);
  if (found != entries_.end()) {
    if (found->second == nullptr) return ErrnoStatus(key, ENOENT);
    return found->second;
  }
  const Result<FileInfo> info = below_.Stat(key, /*follow=*/false);
  if (!info.ok()) return info.status();
  auto entry = std::make_shared<Entry>();
  entry->type = info->type;
  entry->mode = info->mode;
  entry->inode = info->inode;
  entry->modified_ns = info->modified_ns;
  entry->changed_ns = info->changed_ns;
  if (info->type == FileType::kRegular) {
    Result<std::unique_ptr<File>> file = below_.Open(key, OpenOptions{});
    if (!file.ok()) return file.status();
    entry->content = OverlayContent(std::move(file).value(), info->size);
  } else if (info->type == FileType::kSymlink) {
    Result<std::string> target = below_.ReadLink(key);
    if (!target.ok()) return target.status();
    entry->link_target = std::move(target).value();
  }
  entries_[key] = entry;
  return entry;
}

Status OverlayFileSystem::CheckNewEntry(const std::string& path, const std::string& key) {
  const Result<FileInfo> parent = StatKey(ParentFolder(key));
  if (!parent.ok()) return ErrnoStatus(path, ENOENT);
  if (parent->type != FileType::kDirectory) return ErrnoStatus(path, ENOTDIR);
  if (!HasWriteBit(parent->mode)) {
    return Status::PermissionDenied(ParentFolder(path) + ": read-only");
  }
  return Status::Ok();
}

EntryPtr OverlayFileSystem::NewEntry(FileType type, std::uint32_t mode) {
  auto entry = std::make_shared<Entry>();
  entry->type = type;
  entry->mode = mode;
  entry->inode = next_inode_--;
  Touch(*entry);
  return entry;
}

void OverlayFileSystem::Place(const std::string& key, EntryPtr entry) {
  if (entry == nullptr && !below_.Stat(key, /*follow=*/false).ok()) {
    entries_.erase(key);
    return;
  }
  entries_[key] = std::move(entry);
}

Result<std::unique_ptr<File>> OverlayFileSystem::Open(const std::string& path,
                                                      const OpenOptions& options) {
  const Result<std::string> key = Resolve(path, /*follow=*/true);
  if (!key.ok()) return key.status();
  const bool writes = options.access == FileAccess::kReadWrite;
  const Result<FileInfo> info = StatKey(*key);
  if (!info.ok()) {
    if (options.creation == FileCreation::kOpenExisting || options.directory) {
      return ErrnoStatus(path, ENOENT);
    }
    if (Status allowed = CheckNewEntry(path, *key); !allowed.ok()) return allowed;
    EntryPtr entry = NewEntry(FileType::kRegular, options.create_mode & ~umask_ & 07777);
    Place(*key, entry);
    return std::unique_ptr<File>(
        std::make_unique<LayerFile>(*this, *key, path, writes, true, std::move(entry), nullptr));
  }
  const bool is_folder = info->type == FileType::kDirectory;
  if (is_folder && writes) return ErrnoStatus(path, EISDIR);
  if (!is_folder && options.directory) return ErrnoStatus(path, ENOTDIR);
  if (writes && !HasWriteBit(info->mode)) return Status::PermissionDenied(path + ": read-only");

  const auto found = entries_.find(*key);
  EntryPtr entry = found != entries_.end() ? found->second : nullptr;
  // The file below: first its lock, where it holds a file of that name, so that nothing is
  // read of a file another build is writing; and the bytes of a file only read.
  std::unique_ptr<File> below;
  const Result<FileInfo> below_info = entry == nullptr ? info : below_.Stat(*key, /*follow=*/false);
  const bool reads_below = entry == nullptr && !writes;
  if (reads_below || (options.lock != FileLock::kNone && below_info.ok())) {
    OpenOptions reading = options;
    reading.access = FileAccess::kRead;
    reading.creation = FileCreation::kOpenExisting;
    reading.directory = below_info->type == FileType::kDirectory;
    Result<std::unique_ptr<File>> opened = below_.Open(*key, reading);
    if (!opened.ok()) return NamedAs(opened.status(), *key, path);
    below = std::move(opened).value();
  }
  // A handle opened for writing is bound to the layer's entry, as to an inode: it follows its
  // file through renames, and every such handle sees the others' writes.
  if (writes && entry == nullptr) {
    Result<EntryPtr> copied = EntryAt(*key);
    if (!copied.ok()) return NamedAs(copied.status(), *key, path);
    entry = std::move(copied).value();
  }
  if (writes && options.creation == FileCreation::kCreateOrTruncate) {
    entry->content.Resize(0);
    Touch(*entry);
  }
  return std::unique_ptr<File>(std::make_unique<LayerFile>(*this, *key, path, writes, false,
                                                           std::move(entry), std::move(below)));
}

Status OverlayFileSystem::Rename(const std::string& from, const std::string& to, RenameMode mode) {
  const Result<std::string> from_key = Resolve(from, /*follow=*/false);
  if (!from_key.ok()) return from_key.status();
  const Result<std::string> to_key = Resolve(to, /*follow=*/false);
  if (!to_key.ok()) return to_key.status();
  const Result<FileInfo> source = StatKey(*from_key);
  if (!source.ok()) return ErrnoStatus(to, ENOENT);
  if (source->type == FileType::kDirectory) {
    return Status::Unsupported(from + ": a folder is not renamed over a file service layer");
  }
  if (const Result<FileInfo> target = StatKey(*to_key); target.ok()) {
    if (mode == RenameMode::kNoReplace) return ErrnoStatus(to, EEXIST);
    if (target->type == FileType::kDirectory) return ErrnoStatus(to, EISDIR);
  } else if (const Result<FileInfo> folder = StatKey(ParentFolder(*to_key)); !folder.ok()) {
    return ErrnoStatus(to, ENOENT);
  } else if (folder->type != FileType::kDirectory) {
    return ErrnoStatus(to, ENOTDIR);
  }
  if (*from_key == *to_key) return Status::Ok();
  Result<EntryPtr> entry = EntryAt(*from_key);
  if (!entry.ok()) return NamedAs(entry.status(), *from_key, from);
  (*entry)->changed_ns = Now();
  Place(*to_key, *entry);
  Place(*from_key, nullptr);
  return Status::Ok();
}

Status OverlayFileSystem::Remove(const std::string& path) {
  const Result<std::string> key = Resolve(path, /*follow=*/false);
  if (!key.ok()) return key.status();
  const Result<FileInfo> info = StatKey(*key);
  if (!info.ok()) return ErrnoStatus(path, ENOENT);
  if (info->type == FileType::kDirectory) return ErrnoStatus(path, EISDIR);
  Place(*key, nullptr);
  return Status::Ok();
}

Status OverlayFileSystem::MakeDirectory(const std::string& path) {
  const Result<std::string> key = Resolve(path, /*follow=*/false);
  if (!key.ok()) return key.status();
  if (StatKey(*key).ok()) return ErrnoStatus(path, EEXIST);
  if (Status allowed = CheckNewEntry(path, *key); !allowed.ok()) return allowed;
  Place(*key, NewEntry(FileType::kDirectory, 0777 & ~umask_));
  return Status::Ok();
}

Status OverlayFileSystem::SyncDirectory(const std::string& path) {
  const Result<FileInfo> info = Stat(path, /*follow=*/true);
  if (!info.ok()) return info.status();
  if (info->type != FileType::kDirectory) return ErrnoStatus(path, ENOTDIR);
  return Status::Ok();
}

Result<FileInfo> OverlayFileSystem::Stat(const std::string& path, bool follow) {
  const Result<std::string> key = Resolve(path, follow);
  if (!key.ok()) return key.status();
  Result<FileInfo> info = StatKey(*key);
  if (!info.ok()) return NamedAs(info.status(), *key, path);
  return info;
}

Result<std::vector<std::string>> OverlayFileSystem::ListDirectory(const std::string& path) {
  const Result<std::string> key = Resolve(path, /*follow=*/true);
  if (!key.ok()) return key.status();
  const Result<FileInfo> info = StatKey(*key);
  if (!info.ok()) return ErrnoStatus(path, ENOENT);
  if (info->type != FileType::kDirectory) return ErrnoStatus(path, ENOTDIR);
  std::set<std::string> names;
  const Result<FileInfo> below_info = below_.Stat(*key, /*follow=*/false);
  if (below_info.ok() && below_info->type == FileType::kDirectory) {
    Result<std::vector<std::string>> listed = below_.ListDirectory(*key);
    if (!listed.ok()) return NamedAs(listed.status(), *key, path);
    names.insert(listed->begin(), listed->end());
  }
  const std::string prefix = *key == "/" ? *key : *key + "/";
  for (auto it = entries_.lower_bound(prefix);
       it != entries_.end() && it->first.starts_with(prefix); ++it) {
    const std::string name = it->first.substr(prefix.size());
    if (name.find('/') != std::string::npos) continue;
    if (it->second == nullptr) {
      names.erase(name);
    } else {
      names.insert(name);
    }
  }
  return std::vector<std::string>(names.begin(), names.end());
}

Result<std::string> OverlayFileSystem::ReadLink(const std::string& path) {
  const Result<std::string> key = Resolve(path, /*follow=*/false);
  if (!key.ok()) return key.status();
  Result<std::string> target = ReadLinkKey(*key);
  if (!target.ok()) return NamedAs(target.status(), *key, path);
  return target;
}

Status OverlayFileSystem::Symlink(const std::string& target, const std::string& path) {
  const Result<std::string> key = Resolve(path, /*follow=*/false);
  if (!key.ok()) return key.status();
  if (StatKey(*key).ok()) return ErrnoStatus(path, EEXIST);
  if (Status allowed = CheckNewEntry(path, *key); !allowed.ok()) return allowed;
  EntryPtr entry = NewEntry(FileType::kSymlink, 0777);
  entry->link_target = target;
  Place(*key, std::move(entry));
  return Status::Ok();
}

Result<std::string> OverlayFileSystem::RealPath(const std::string& path) {
  const Result<std::string> key = Resolve(path, /*follow=*/true);
  if (!key.ok()) return key.status();
  if (!StatKey(*key).ok()) return ErrnoStatus(path, ENOENT);
  return key;
}

}  // namespace quellor
