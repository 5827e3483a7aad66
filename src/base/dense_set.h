// DenseSet: a set of small non-negative numbers, such as record numbers, kept as a bitmap that
// grows to the largest one added. Where a hash set would take a node per number, a dictionary's
// 60000 records take 7.5 KB.
#pragma once

#include <cstddef>
#include <vector>

namespace quellor {

class DenseSet final {
 public:
  // Adds `n`; false when it was there already.
  bool Insert(std::size_t n) {
    if (n >= bits_.size()) bits_.resize(n + 1);
    if (bits_[n]) return false;
    bits_[n] = true;
    return true;
  }
  // Removes `n`; false when it was not there.
  bool Erase(std::size_t n) {
    if (n >= bits_.size() || !bits_[n]) return false;
    bits_[n] = false;
    return true;
  }

 private:
  std::vector<bool> bits_;
};

}  // namespace quellor
