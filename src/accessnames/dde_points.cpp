#include "accessnames/dde_points.h"

#include <utility>

namespace quellor {

DDEPoints::Slot& DDEPoints::SlotOf(Key key) {
  return key >= 0 ? back_[static_cast<std::size_t>(key)]
                  : front_[static_cast<std::size_t>(-(key + 1))];
}

template <typename Map>
const DDEPoints::Key* DDEPoints::FirstLive(Map& map, std::string_view tag) {
  const auto it = map.find(tag);
  if (it == map.end()) return nullptr;
  Keys& entry = it->second;
  while (entry.head < entry.keys.size() && !SlotOf(entry.keys[entry.head]).live) ++entry.head;
  if (entry.head == entry.keys.size()) {
    map.erase(it);
    return nullptr;
  }
  return &entry.keys[entry.head];
}

template <typename Map>
void DDEPoints::AddKey(Map& map, const std::string& tag, Key key, bool at_front) {
  Keys& entry = map[tag];
  // A key at the front is smaller than every key of the entry; the dropped dead keys before
  // `head` are smaller still, so it goes at `head`.
  const auto at =
      at_front ? entry.keys.begin() + static_cast<std::ptrdiff_t>(entry.head) : entry.keys.end();
  entry.keys.insert(at, key);
}

void DDEPoints::Append(DDEPoint_T point) {
  const Key key = static_cast<Key>(back_.size());
  back_.push_back(Slot{std::move(point)});
  const std::string& tag = back_.back().point.TagName;
  AddKey(exact_, tag, key, /*at_front=*/false);
  AddKey(any_case_, tag, key, /*at_front=*/false);
  ++live_;
}

void DDEPoints::PushFront(DDEPoint_T point) {
  const Key key = -static_cast<Key>(front_.size()) - 1;
  front_.push_back(Slot{std::move(point)});
  const std::string& tag = front_.back().point.TagName;
  // Dropping the dead keys first mostly leaves an empty entry, where insertion is cheap.
  (void)FirstLive(exact_, tag);
  (void)FirstLive(any_case_, tag);
  AddKey(exact_, tag, key, /*at_front=*/true);
  AddKey(any_case_, tag, key, /*at_front=*/true);
  ++live_;
}

DDEPoint_T* DDEPoints::FindIgnoreCase(std::string_view tag) {
  const Key* key = FirstLive(any_case_, tag);
  return key == nullptr ? nullptr : &SlotOf(*key).point;
}

bool DDEPoints::ContainsExact(std::string_view tag) { return FirstLive(exact_, tag) != nullptr; }

bool DDEPoints::RemoveFirstExact(std::string_view tag) {
  const Key* key = FirstLive(exact_, tag);
  if (key == nullptr) return false;
  Slot& slot = SlotOf(*key);
  slot.live = false;
  slot.point = DDEPoint_T{};  // a dead slot keeps no text
  --live_;
  return true;
}

std::vector<DDEPoint_T> DDEPoints::ToVector() const {
  std::vector<DDEPoint_T> out;
  out.reserve(live_);
  ForEach([&out](const DDEPoint_T& point) { out.push_back(point); });
  return out;
}

}  // namespace quellor
