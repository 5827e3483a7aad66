#include "testing/test_seed.h"

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <string_view>

namespace quellor::testing {

std::uint32_t TestSeed(std::uint32_t fixed) {
  std::uint32_t seed = fixed;
  if (const char* text = std::getenv("QUELLOR_TEST_SEED"); text != nullptr) {
    const std::string_view digits = text;
    std::uint32_t given = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), given);
    if (error == std::errc() && end == digits.data() + digits.size()) seed = given;
  }
  std::cout << "seed " << seed << " (QUELLOR_TEST_SEED=" << seed << " repeats this run)\n";
  return seed;
}

}  // namespace quellor::testing
