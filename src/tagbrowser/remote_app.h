// CRemoteApp: one remote application of the tag browser, a tag source on another node, and
// the list of them in the order the tag browser shows and stores them.
#pragma once

#include <list>
#include <string>

#include "base/status.h"
#include "tagbrowser/archive.h"

namespace quellor {

// A value type: copied into and out of the list, assignment copies all five texts.
struct CRemoteApp final {
  std::string Name;  // the list's ordering key
  std::string Location;
  std::string AccessName;
  std::string ApplicationName;
  std::string Guid;

  // Reads the five texts in stored order. On a failure the texts read so far are kept and the
  // rest are unchanged; the caller discards such an element.
  Status Serialize(ArchiveReader& ar);
  void Serialize(ArchiveWriter& ar) const;

  friend bool operator==(const CRemoteApp&, const CRemoteApp&) = default;
};

// std::list: positions stay valid while an element is inserted before another.
using CRemoteAppList = std::list<CRemoteApp>;

// Reads a count and that many elements, appending each one read whole at the tail; the list
// is not emptied first. On a failure the elements appended so far stay.
Status SerializeRemoteApps(ArchiveReader& ar, CRemoteAppList& list);
// Writes the count and each element from head to tail.
void SerializeRemoteApps(ArchiveWriter& ar, const CRemoteAppList& list);

}  // namespace quellor
