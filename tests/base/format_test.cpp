#include "base/format.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

TEST(StringPrintf, FormatsAsPrintf) {
  EXPECT_EQ(StringPrintf("App%05d", 7), "App00007");
  EXPECT_EQ(StringPrintf("%f", 0.005), "0.005000");
  EXPECT_EQ(StringPrintf("%s", ""), "");
  EXPECT_EQ(StringPrintf("100%%"), "100%");
}

TEST(StringPrintf, NeverCutsALongText) {
  const std::string name(100000, 'T');
  const std::string text = StringPrintf("        Tag %s created", name.c_str());
  EXPECT_EQ(text.size(), 8 + 4 + name.size() + 8);
  EXPECT_EQ(text.substr(text.size() - 8), " created");
}

TEST(StringPrintf, KeepsThePointWhateverTheLocale) {
  // The process locale is never changed, so %f writes a point.
  EXPECT_EQ(StringPrintf("%f", 12.5), "12.500000");
}

}  // namespace
}  // namespace quellor
