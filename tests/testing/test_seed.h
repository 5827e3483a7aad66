// The seed of a randomised test: the same sequence on every run unless asked otherwise, and
// always printed, so that any failure can be repeated.
#pragma once

#include <cstdint>

namespace quellor::testing {

// QUELLOR_TEST_SEED when it holds a number (to repeat a run, or to explore other sequences),
// else `fixed`. The seed is printed on standard output.
std::uint32_t TestSeed(std::uint32_t fixed);

}  // namespace quellor::testing
