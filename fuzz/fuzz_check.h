// A property that a fuzz target checks on every input. A broken one is a finding like a
// crash: the text goes to standard error and the process aborts, so libFuzzer keeps the
// input as an artifact.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace quellor::fuzz {

inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property broken: %s\n", property);
  std::abort();
}

}  // namespace quellor::fuzz
