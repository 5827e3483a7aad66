// DDEPoints: the DDE points of one access name, in their order in DDE.CFG.
//
// The tag merge removes and sets the point of every tag of a dictionary, up to 60000 on one
// access name, so every operation here is O(1): a point keeps the slot it was put in, and a
// point's position is an order key (points added at the front get ever smaller keys, points
// appended from the file ever larger ones). A removed point leaves a dead slot behind. Which
// points hold which tag name is indexed by the set that owns the points (CAccNames), one index
// for all its access names.
//
// The order is exactly that of an array in which new points are inserted at position 0 and
// removed points close their gap: the points a build adds come first, the most recent first,
// followed by the untouched points in their old order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quellor {

class CAccNames;

// One DDE point: the tag that reads an item through an access name.
struct DDEPoint_T {
  std::string TagName;
  std::int32_t TagIndex = 0;  // the tag's record number in Tagname.X
  std::string ItemName;

  friend bool operator==(const DDEPoint_T&, const DDEPoint_T&) = default;
};

class DDEPoints final {
 public:
  DDEPoints() = default;
  DDEPoints(const DDEPoints&) = delete;
  DDEPoints& operator=(const DDEPoints&) = delete;

  // Number of points.
  std::size_t size() const { return live_; }
  bool empty() const { return live_ == 0; }

  // Order key: ascending keys are ascending positions.
  using Key = std::int64_t;

  // Adds a point after all others, as the file lists them; only while the record that will
  // own these points is being read, before it joins a set.
  Key Append(DDEPoint_T point);

  // Calls `visit(const DDEPoint_T&)` for every point, position 0 first.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    ForEachKeyed([&visit](Key, const DDEPoint_T& point) { visit(point); });
  }
  // Calls `visit(Key, const DDEPoint_T&)` for every point, position 0 first.
  template <typename Visit>
  void ForEachKeyed(Visit&& visit) const {
    for (std::size_t i = front_.size(); i-- > 0;) {
      if (front_[i].live) visit(FrontKey(i), front_[i].point);
    }
    for (std::size_t i = 0; i < back_.size(); ++i) {
      if (back_[i].live) visit(static_cast<Key>(i), back_[i].point);
    }
  }
  // A copy of the points in order; for checks and tools.
  std::vector<DDEPoint_T> ToVector() const;

 private:
  // The set keeps its own index of which points hold which tag names, so only it changes the
  // points of a record that belongs to it.
  friend class CAccNames;

  // Adds a point before all others (position 0).
  Key PushFront(DDEPoint_T point);
  // The live point of `key`.
  DDEPoint_T& At(Key key) { return SlotOf(key).point; }
  // The point of `key` leaves; its slot stays, dead.
  void Remove(Key key);

  struct Slot {
    explicit Slot(DDEPoint_T&& taken) : point(std::move(taken)) {}
    DDEPoint_T point;
    bool live = true;
  };
  // Keys 0, 1, 2 ... name back_[0], back_[1] ...; -1, -2 ... name front_[0], front_[1] ...
  static Key FrontKey(std::size_t i) { return -static_cast<Key>(i) - 1; }
  Slot& SlotOf(Key key);

  std::vector<Slot> front_;
  std::vector<Slot> back_;
  std::size_t live_ = 0;
};

}  // namespace quellor
