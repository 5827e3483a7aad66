// A scope guard: runs its action when the scope ends, unless cancelled first. Used to remove
// temporary files when a write fails part way.
#pragma once

#include <utility>

namespace quellor {

template <typename F>
class [[nodiscard]] Cleanup final {
 public:
  explicit Cleanup(F action) : action_(std::move(action)) {}
  Cleanup(const Cleanup&) = delete;
  Cleanup& operator=(const Cleanup&) = delete;
  ~Cleanup() {
    if (armed_) action_();
  }
  // The action will not run: the work it would undo succeeded.
  void Cancel() { armed_ = false; }

 private:
  F action_;
  bool armed_ = true;
};

}  // namespace quellor
