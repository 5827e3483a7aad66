#include "base/name_index.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/ascii.h"
#include "base/string_hash.h"
#include "testing/test_seed.h"

namespace quellor {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

// Every name starts its run in the last slot, whatever their number: one run that wraps around
// the end of the slots. Names of one first letter (modulo 4) share a hash, so their probes
// compare names. The index takes a run's start from the hash times the golden-ratio constant:
// these hashes make that product all ones, or nearly.
struct CollidingHash {
  static constexpr std::uint64_t kInverseGolden = 0xF1DE83E19937733Dull;
  static_assert(kInverseGolden * 0x9E3779B97F4A7C15ull == 1);
  std::size_t operator()(std::string_view name) const {
    const std::uint64_t below = name.empty() ? 0 : static_cast<unsigned char>(name[0]) % 4;
    return static_cast<std::size_t>(kInverseGolden * (~std::uint64_t{0} - below));
  }
};
using CollidingIndex = NameIndex<int, CollidingHash, std::equal_to<>>;

std::vector<std::pair<std::string, int>> Contents(const CollidingIndex& index) {
  std::vector<std::pair<std::string, int>> out;
  index.ForEach([&out](std::string_view name, int value) { out.emplace_back(name, value); });
  return out;
}

TEST(NameIndex, EntersANameOnceAndFindsItByItsText) {
  NameIndex<int, StringHash, std::equal_to<>> index;
  EXPECT_EQ(index.Find("Boiler"), nullptr);  // nothing entered yet
  const auto [value, added] = index.TryEmplace("Boiler", 7);
  EXPECT_TRUE(added);
  const std::string same = "Boiler";
  const auto [again, added_again] = index.TryEmplace(same, 9);
  EXPECT_FALSE(added_again);
  EXPECT_EQ(again, value);
  EXPECT_EQ(*index.Find(same), 7);
  EXPECT_EQ(index.Find("boiler"), nullptr);
  EXPECT_EQ(index.size(), 1u);
}

TEST(NameIndex, MatchesNamesAsItsEqualityDoes) {
  NameIndex<int, CaseInsensitiveHash, CaseInsensitiveEqual> index;
  index.TryEmplace("FIC101.PV", 1);
  EXPECT_FALSE(index.TryEmplace("fic101.pv", 2).second);
  ASSERT_NE(index.Find("Fic101.Pv"), nullptr);
  EXPECT_EQ(*index.Find("Fic101.Pv"), 1);
}

TEST(NameIndex, ValuesStayInPlaceWhileTheIndexGrows) {
  NameIndex<int, StringHash, std::equal_to<>> index;
  int* const first = index.TryEmplace("T0", 0).first;
  for (int n = 1; n < 5000; ++n) index.TryEmplace("T" + std::to_string(n), n);
  EXPECT_EQ(index.Find("T0"), first);
  for (int n = 0; n < 5000; n += 499) EXPECT_EQ(*index.Find("T" + std::to_string(n)), n) << n;
}

TEST(NameIndex, VisitsTheNamesLeftInTheOrderTheyWereEntered) {
  CollidingIndex index;
  for (const char* name : {"d", "a", "c", "b", "e"}) index.TryEmplace(name, name[0]);
  EXPECT_TRUE(index.Erase("c"));
  EXPECT_FALSE(index.Erase("c"));
  index.TryEmplace("c", 3);  // entered again: last
  EXPECT_THAT(Contents(index), ElementsAre(Pair("d", 'd'), Pair("a", 'a'), Pair("b", 'b'),
                                           Pair("e", 'e'), Pair("c", 3)));
}

// Random entries and erasures of colliding names, checked against a map after every step: an
// erasure must leave every other name reachable.
TEST(NameIndex, AgreesWithAMapThroughEntriesAndErasuresOfCollidingNames) {
  std::mt19937 random(testing::TestSeed(21));
  CollidingIndex index;
  std::map<std::string, int> model;
  for (int step = 0; step < 4000; ++step) {
    const std::string name = "n" + std::to_string(random() % 60);
    if (random() % 3 == 0) {
      EXPECT_EQ(index.Erase(name), model.erase(name) == 1) << step;
    } else {
      EXPECT_EQ(index.TryEmplace(name, step).second, model.emplace(name, step).second) << step;
    }
    ASSERT_EQ(index.size(), model.size()) << step;
    for (int n = 0; n < 60; ++n) {
      const std::string probe = "n" + std::to_string(n);
      const int* found = index.Find(probe);
      const auto known = model.find(probe);
      ASSERT_EQ(found != nullptr, known != model.end()) << step << " " << probe;
      if (found != nullptr) {
        ASSERT_EQ(*found, known->second) << step << " " << probe;
      }
    }
  }
}

}  // namespace
}  // namespace quellor
