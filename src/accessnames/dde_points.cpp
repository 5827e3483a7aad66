#include "accessnames/dde_points.h"

#include <utility>

namespace quellor {

DDEPoints::Slot& DDEPoints::SlotOf(Key key) {
  return key >= 0 ? back_[static_cast<std::size_t>(key)]
                  : front_[static_cast<std::size_t>(-(key + 1))];
}

bool DDEPoints::DropDeadFront(Keys& entry) {
  while (entry.head < entry.keys.size() && !SlotOf(entry.keys[entry.head]).live) ++entry.head;
  if (entry.head < entry.keys.size()) return true;
  entry.keys.clear();
  entry.head = 0;
  return false;
}

template <typename Map>
const DDEPoints::Key* DDEPoints::FirstLive(Map& map, std::string_view tag) {
  const auto it = map.find(tag);
  if (it == map.end()) return nullptr;
  if (!DropDeadFront(it->second)) {
    map.erase(it);
    return nullptr;
  }
  return &it->second.keys[it->second.head];
}

template <typename Map>
void DDEPoints::AddKey(Map& map, const std::string& tag, Key key, bool at_front) {
  Keys& entry = map.try_emplace(tag).first->second;
  if (!at_front) {
    entry.keys.push_back(key);
    return;
  }
  // A key at the front is smaller than every live key of the entry; it goes right before
  // them, which for the usual entry (no live key) is an empty vector.
  DropDeadFront(entry);
  entry.keys.insert(entry.keys.begin() + static_cast<std::ptrdiff_t>(entry.head), key);
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
  AddKey(exact_, tag, key, /*at_front=*/true);
  AddKey(any_case_, tag, key, /*at_front=*/true);
  ++live_;
}

DDEPoint_T* DDEPoints::FindIgnoreCase(std::string_view tag) {
  const Key* key = FirstLive(any_case_, tag);
  return key == nullptr ? nullptr : &SlotOf(*key).point;
}

DDEPoints::Removal DDEPoints::RemoveFirstExact(std::string_view tag) {
  const auto it = exact_.find(tag);
  if (it == exact_.end()) return {};
  Keys& entry = it->second;
  if (!DropDeadFront(entry)) {
    exact_.erase(it);
    return {};
  }
  Slot& slot = SlotOf(entry.keys[entry.head++]);
  slot.live = false;
  slot.point = DDEPoint_T{};  // a dead slot keeps no text
  --live_;
  const bool remains = DropDeadFront(entry);
  if (!remains) exact_.erase(it);
  return {true, remains};
}

std::vector<DDEPoint_T> DDEPoints::ToVector() const {
  std::vector<DDEPoint_T> out;
  out.reserve(live_);
  ForEach([&out](const DDEPoint_T& point) { out.push_back(point); });
  return out;
}

}  // namespace quellor
