#include "base/dense_set.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

TEST(DenseSet, InsertAndEraseAnswerWhetherTheNumberWasThere) {
  DenseSet set;
  EXPECT_FALSE(set.Erase(7));  // beyond anything added
  EXPECT_TRUE(set.Insert(60000));
  EXPECT_FALSE(set.Insert(60000));
  EXPECT_TRUE(set.Insert(0));
  EXPECT_FALSE(set.Erase(59999));
  EXPECT_TRUE(set.Erase(60000));
  EXPECT_FALSE(set.Erase(60000));
  EXPECT_TRUE(set.Insert(60000));
}

}  // namespace
}  // namespace quellor
