#include "platform/prefix.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testing/temp_prefix.h"

namespace quellor {
namespace {
using ::quellor::testing::ScopedEnv;

TEST(PrefixDir, ComesFromTheVariableElseFromHomeElseIsEmpty) {
  const std::string cwd = std::filesystem::current_path().string();
  const struct {
    std::optional<std::string> prefix;
    std::optional<std::string> home;
    std::string expected;
  } cases[] = {
      {"/srv/machine", "/home/op", "/srv/machine"},
      {"", "/home/op", "/home/op/.quellor"},  // an empty value counts as unset
      {std::nullopt, "/home/op", "/home/op/.quellor"},
      {"machine", "/home/op", cwd + "/machine"},  // relative: from the working folder
      {std::nullopt, std::nullopt, ""},
  };
  for (const auto& c : cases) {
    ScopedEnv prefix("QUELLOR_PREFIX", c.prefix);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(PrefixDir(), c.expected) << c.prefix.value_or("(unset)");
  }
}

}  // namespace
}  // namespace quellor
