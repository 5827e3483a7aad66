// PointRefs: where the DDE points of one tag name are, as the point index of an access-name set
// keeps them.
//
// Nearly every tag name has one point, so the first place lives inline and only further ones
// take memory of their own: an index of 60000 names then costs no allocation per name beyond
// its entry. The places are kept in no particular order; erasing one moves the last into its
// slot.
#pragma once

#include <cstddef>
#include <vector>

#include "accessnames/dde_points.h"

namespace quellor {

// One DDE point: the record of the set that holds it, and its key there.
struct PointRef {
  std::size_t record;
  DDEPoints::Key key;
};

class PointRefs final {
 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  PointRef& operator[](std::size_t i) { return i == 0 ? first_ : rest_[i - 1]; }
  const PointRef& operator[](std::size_t i) const { return i == 0 ? first_ : rest_[i - 1]; }

  void push_back(PointRef ref) {
    if (size_ == 0) {
      first_ = ref;
    } else {
      rest_.push_back(ref);
    }
    ++size_;
  }

  // Erases place `i` (below size()); the last place takes its slot.
  void erase(std::size_t i) {
    (*this)[i] = (*this)[size_ - 1];
    if (size_ > 1) rest_.pop_back();
    --size_;
  }

  // Erases every place for which `pred(const PointRef&)` holds.
  template <typename Pred>
  void erase_if(Pred pred) {
    for (std::size_t i = size_; i-- > 0;) {
      if (pred((*this)[i])) erase(i);
    }
  }

 private:
  PointRef first_{};
  std::vector<PointRef> rest_;  // places 1 and up
  std::size_t size_ = 0;
};

}  // namespace quellor
