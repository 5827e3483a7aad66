// DDEPoints: the DDE points of one access name, in their order in DDE.CFG.
//
// The tag merge removes and sets the point of every tag of a dictionary, up to 60000 on one
// access name, so every operation here is amortised O(1): points live in slots that never
// move, a point's position is an order key (points added at the front get ever smaller keys,
// points appended from the file ever larger ones), and two name indices (exact and without
// regard to case) hold the keys of each name in ascending order. A removed point leaves a
// dead slot behind; dead keys are dropped from the front of an index entry when a lookup
// meets them, so each key is dropped at most once.
//
// The order is exactly that of an array in which new points are inserted at position 0 and
// removed points close their gap: the points a build adds come first, the most recent first,
// followed by the untouched points in their old order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/ascii.h"

namespace quellor {

class CAccNames;

// One DDE point: the tag that reads an item through an access name.
struct DDEPoint_T {
  std::string TagName;
  std::int32_t TagIndex = 0;  // the tag's record number in Tagname.X
  std::string ItemName;

  friend bool operator==(const DDEPoint_T&, const DDEPoint_T&) = default;
};

// Hash of the exact bytes that also takes a string_view, so that lookups need no copy.
struct ExactStringHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};

class DDEPoints final {
 public:
  DDEPoints() = default;
  DDEPoints(const DDEPoints&) = delete;
  DDEPoints& operator=(const DDEPoints&) = delete;

  // Number of points.
  std::size_t size() const { return live_; }
  bool empty() const { return live_ == 0; }

  // Adds a point after all others, as the file lists them; only while the record that will
  // own these points is being read, before it joins a set.
  void Append(DDEPoint_T point);

  // Calls `visit(const DDEPoint_T&)` for every point, position 0 first.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (auto it = front_.rbegin(); it != front_.rend(); ++it) {
      if (it->live) visit(it->point);
    }
    for (const Slot& slot : back_) {
      if (slot.live) visit(slot.point);
    }
  }
  // A copy of the points in order; for checks and tools.
  std::vector<DDEPoint_T> ToVector() const;

 private:
  // The set keeps its own index of which records hold which tag names, so only it changes the
  // points of a record that belongs to it.
  friend class CAccNames;

  // Adds a point before all others (position 0).
  void PushFront(DDEPoint_T point);
  // The first point (lowest position) whose TagName equals `tag` without regard to case, or
  // null. The pointer stays valid until the next Append or PushFront.
  DDEPoint_T* FindIgnoreCase(std::string_view tag);
  // Removes the first point whose TagName equals `tag` exactly, if there is one.
  struct Removal {
    bool removed = false;
    bool name_remains = false;  // another point still has exactly this TagName
  };
  Removal RemoveFirstExact(std::string_view tag);

  struct Slot {
    DDEPoint_T point;
    bool live = true;
  };
  // Order key: 0, 1, 2 ... name back_[0], back_[1] ...; -1, -2 ... name front_[0], front_[1].
  using Key = std::int64_t;
  // The keys of one name, ascending from `head`; dead keys may still be among them. Most
  // names have one key, so this is a plain vector rather than a deque.
  struct Keys {
    std::vector<Key> keys;
    std::size_t head = 0;
  };

  Slot& SlotOf(Key key);
  // Drops the dead keys at the front of `entry`; false when no key is left.
  bool DropDeadFront(Keys& entry);
  // The first live key of `tag` in `map`, or null; an entry left without keys is erased.
  template <typename Map>
  const Key* FirstLive(Map& map, std::string_view tag);
  template <typename Map>
  void AddKey(Map& map, const std::string& tag, Key key, bool at_front);

  std::vector<Slot> front_;
  std::vector<Slot> back_;
  std::size_t live_ = 0;
  std::unordered_map<std::string, Keys, ExactStringHash, std::equal_to<>> exact_;
  std::unordered_map<std::string, Keys, CaseInsensitiveHash, CaseInsensitiveEqual> any_case_;
};

}  // namespace quellor
