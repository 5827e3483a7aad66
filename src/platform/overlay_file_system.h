// A file service that lays a layer in memory over another one: reads see the layer's changes
// first, and every change (a write, a new file or folder, a rename, a removal, a mode) stays in
// the layer, so the file system below is only read. Installed for a run (env.h), it lets the
// whole build run and report as it would while nothing on the disk changes.
//
// What still reaches the file system below: reads, and the locks of its files and folders,
// taken on them as a build takes them (read-only opens hold them), so a run over the layer
// waits for a build that holds a folder and never reads a half-written file. A file or folder
// made in the layer has no lock another process could see.
//
// The read-only rule (file_system.h) is applied by the layer from the modes it sees, never by
// asking the file system below to write, so the layer also runs over a tree its user may not
// write. Folders cannot be renamed in the layer (the program renames files and links only).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quellor {

class OverlayFileSystem final : public FileSystem {
 public:
  // `below` must outlive the layer.
  explicit OverlayFileSystem(FileSystem& below);
  ~OverlayFileSystem() override;
  OverlayFileSystem(const OverlayFileSystem&) = delete;
  OverlayFileSystem& operator=(const OverlayFileSystem&) = delete;

  Result<std::unique_ptr<File>> Open(const std::string& path, const OpenOptions& options) override;
  Status Rename(const std::string& from, const std::string& to, RenameMode mode) override;
  Status Remove(const std::string& path) override;
  Status MakeDirectory(const std::string& path) override;
  Status SyncDirectory(const std::string& path) override;
  Result<FileInfo> Stat(const std::string& path, bool follow) override;
  Result<std::vector<std::string>> ListDirectory(const std::string& path) override;
  Result<std::string> ReadLink(const std::string& path) override;
  Status Symlink(const std::string& target, const std::string& path) override;
  Result<std::string> RealPath(const std::string& path) override;

  // The bytes the layer holds for file contents: what the run wrote, once per byte.
  std::uint64_t HeldBytes() const;

  struct Entry;
  using EntryPtr = std::shared_ptr<Entry>;

 private:
  class LayerFile;

  // The absolute path that `path` names, every symbolic link of its folders resolved in the
  // layer's view, and of its last component too when `follow`. It is the key of the entry.
  Result<std::string> Resolve(const std::string& path, bool follow);
  // What the view holds at a key: the layer's entry, else the file system's below.
  Result<FileInfo> StatKey(const std::string& key);
  Result<std::string> ReadLinkKey(const std::string& key);
  // The layer's entry at `key`, copied up from below first when only below has one.
  Result<EntryPtr> EntryAt(const std::string& key);
  // Whether the view has an entry at `key`, and a refusal naming `path` unless its parent is a
  // folder that the read-only rule lets the layer add entries to.
  Status CheckNewEntry(const std::string& path, const std::string& key);
  EntryPtr NewEntry(FileType type, std::uint32_t mode);
  // Records an entry at `key`, or its removal (a null entry hides the one below).
  void Place(const std::string& key, EntryPtr entry);

  FileSystem& below_;
  const std::string working_folder_;
  const std::uint32_t umask_;
  std::uint64_t next_inode_;
  // The layer by key; a null entry marks a removal of the entry below.
  std::map<std::string, EntryPtr> entries_;
};

}  // namespace quellor
