// The one retry of a system call that a signal interrupted: every system call of the platform
// layer that can fail with EINTR goes through RetryOnInterrupt, so no caller sees EINTR.
#pragma once

#include <cerrno>

namespace quellor {

// Calls `call` until it succeeds or fails for another reason than EINTR, and returns its last
// result: negative (with errno set) on failure, as the system calls answer.
template <typename Call>
auto RetryOnInterrupt(Call call) {
  for (;;) {
    auto result = call();
    if (result >= 0 || errno != EINTR) return result;
  }
}

}  // namespace quellor
