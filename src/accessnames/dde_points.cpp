#include "accessnames/dde_points.h"

#include <utility>

namespace quellor {

DDEPoints::Slot& DDEPoints::SlotOf(Key key) {
  return key >= 0 ? back_[static_cast<std::size_t>(key)]
                  : front_[static_cast<std::size_t>(-(key + 1))];
}

DDEPoints::Key DDEPoints::Append(DDEPoint_T point) {
  back_.emplace_back(std::move(point));
  ++live_;
  return static_cast<Key>(back_.size() - 1);
}

DDEPoints::Key DDEPoints::PushFront(DDEPoint_T point) {
  // A rebuild puts the point of nearly every tag read from the file at the front again.
  if (front_.empty()) front_.reserve(back_.size());
  front_.emplace_back(std::move(point));
  ++live_;
  return FrontKey(front_.size() - 1);
}

void DDEPoints::Remove(Key key) {
  Slot& slot = SlotOf(key);
  slot.live = false;
  slot.point = DDEPoint_T{};  // a dead slot keeps no text
  --live_;
}

std::vector<DDEPoint_T> DDEPoints::ToVector() const {
  std::vector<DDEPoint_T> out;
  out.reserve(live_);
  ForEach([&out](const DDEPoint_T& point) { out.push_back(point); });
  return out;
}

}  // namespace quellor
