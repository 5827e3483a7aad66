#include "accessnames/point_refs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace quellor {
namespace {

using ::testing::UnorderedElementsAreArray;

std::vector<DDEPoints::Key> Keys(const PointRefs& refs) {
  std::vector<DDEPoints::Key> keys;
  for (std::size_t i = 0; i < refs.size(); ++i) keys.push_back(refs[i].key);
  return keys;
}

// Places pushed, then erased one by one at each position, or all that match: the rest stay,
// inline or not.
TEST(PointRefs, ErasingAnyPlaceKeepsEveryOtherPlace) {
  for (std::size_t count = 1; count <= 4; ++count) {
    for (std::size_t erased = 0; erased < count; ++erased) {
      PointRefs refs;
      std::vector<DDEPoints::Key> expected;
      for (std::size_t i = 0; i < count; ++i) {
        refs.push_back(PointRef{i, static_cast<DDEPoints::Key>(10 + i)});
        if (i != erased) expected.push_back(static_cast<DDEPoints::Key>(10 + i));
      }
      refs.erase(erased);
      EXPECT_THAT(Keys(refs), UnorderedElementsAreArray(expected)) << count << " " << erased;
      refs.push_back(PointRef{9, 99});  // the freed place is taken again
      expected.push_back(99);
      EXPECT_THAT(Keys(refs), UnorderedElementsAreArray(expected)) << count << " " << erased;
    }
  }
}

TEST(PointRefs, EraseIfRemovesEveryMatchAndCanEmptyTheList) {
  PointRefs refs;
  for (DDEPoints::Key key : {1, 2, 3, 4, 5}) refs.push_back(PointRef{0, key});
  refs.erase_if([](const PointRef& ref) { return ref.key % 2 == 1; });
  EXPECT_THAT(Keys(refs), UnorderedElementsAreArray({2, 4}));
  refs.erase_if([](const PointRef&) { return true; });
  EXPECT_TRUE(refs.empty());
}

}  // namespace
}  // namespace quellor
