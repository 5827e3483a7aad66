// CUserTagFilter: one named tag filter of the tag browser, and CUserTagFilters, the map that
// owns them by key.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "base/status.h"
#include "tagbrowser/archive.h"

namespace quellor {

// The build sets Name and FilterText; a filter loaded from a file keeps all six texts.
struct CUserTagFilter final {
  std::string Name;
  std::string Text2;
  std::string Text3;
  std::string FilterText;
  std::string Text5;
  std::string Text6;

  // Reads the six texts in stored order; on a failure the caller discards the filter.
  Status Serialize(ArchiveReader& ar);
  void Serialize(ArchiveWriter& ar) const;

  friend bool operator==(const CUserTagFilter&, const CUserTagFilter&) = default;
};

// Keys are unique and compared case-sensitively. The map owns its filters; iteration (and so
// the stored order) is ascending byte order of the keys, which makes stores reproducible.
class CUserTagFilters final {
 public:
  using Map = std::map<std::string, std::unique_ptr<CUserTagFilter>, std::less<>>;

  CUserTagFilters() = default;

  std::size_t size() const { return filters_.size(); }
  bool empty() const { return filters_.empty(); }
  Map::const_iterator begin() const { return filters_.begin(); }
  Map::const_iterator end() const { return filters_.end(); }

  // The filter stored under key, or null.
  const CUserTagFilter* Find(std::string_view key) const;
  // Stores filter under key; a filter stored there before is deleted.
  void Set(std::string key, std::unique_ptr<CUserTagFilter> filter);
  void Clear() { filters_.clear(); }

  // Empties the map, then reads a count and that many entries (key, then the filter); a key
  // met again replaces the earlier filter. On a failure the entries read whole stay and the
  // one being read is discarded.
  Status Serialize(ArchiveReader& ar);
  // Writes the count, then each key and its filter in ascending key order.
  void Serialize(ArchiveWriter& ar) const;

 private:
  Map filters_;
};

}  // namespace quellor
