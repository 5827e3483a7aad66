// CTagBrw: the tag-browser data of one HMI application, as TagBrw.DAT holds it: an opaque
// header, the remote applications in list order and the named user tag filters. The byte
// layout is described in docs/formats/TagBrw.DAT.md.
//
// This is the model with its load, store and merges. The build puts it together on top: the
// project's filter names (project_filters.h), the load of the file's bytes, the project's
// remote applications (project_remote_apps.h) and filters merged, then the store. The build
// (tag_brw_build.h) opens, reads and replaces the file, and stores only a model whose load
// succeeded, so that a damaged file is never overwritten by the part that could be read.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "tagbrowser/archive.h"
#include "tagbrowser/remote_app.h"
#include "tagbrowser/user_tag_filter.h"

namespace quellor {

inline constexpr std::size_t kTagBrwHeaderBlockSize = 16;
// The box lines of a failed load and of a failed store of the file.
inline constexpr std::string_view kTagBrwLoadFailedText = "Failed to load TagBrw.dat";
inline constexpr std::string_view kTagBrwStoreFailedText = "Failed to store TagBrw.dat";

class CTagBrw final {
 public:
  using HeaderBlock = std::array<std::uint8_t, kTagBrwHeaderBlockSize>;

  CTagBrw() = default;
  CTagBrw(const CTagBrw&) = delete;
  CTagBrw& operator=(const CTagBrw&) = delete;

  // Loads every stored item in file order into this model. A failure of the archive (the
  // bytes end before an item is complete, a length that cannot fit) is caught here: the
  // "Failed to load TagBrw.dat" box is shown and the failure returned, so the caller knows
  // not to store. What was read before the failure stays; items not reached keep their values.
  Status Serialize(ArchiveReader& ar);
  // Stores every item in file order.
  void Serialize(ArchiveWriter& ar) const;

  // The same over a whole file's bytes.
  Status Load(std::span<const std::uint8_t> bytes);
  std::vector<std::uint8_t> Store() const;

  // Puts app into RemoteApps by Name, compared byte by byte: the texts of an element of the
  // same name are replaced in place; otherwise app goes before the first element whose name
  // sorts after it, or at the tail. A list in ascending name order stays so.
  void MergeRemoteApp(const CRemoteApp& app);
  // Stores filter under its Name, deleting a filter stored there before.
  void MergeFilter(std::unique_ptr<CUserTagFilter> filter);

  // Stored, in file order. Opaque: carried over from the loaded file unchanged.
  HeaderBlock Header1{};
  std::string HeaderText;
  HeaderBlock Header2{};
  std::uint32_t HeaderValue1 = 0;
  std::uint32_t HeaderValue2 = 0;
  CRemoteAppList RemoteApps;
  CUserTagFilters Filters;

  // Not stored.
  std::vector<std::string> ProjectFilterNames;  // the project's filter names, in query order
  std::string FilePath;                         // the TagBrw.DAT in use

 private:
  Status LoadItems(ArchiveReader& ar);
};

}  // namespace quellor
