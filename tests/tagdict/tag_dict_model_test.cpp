// Load repair and allocation against a simple model: random dictionaries of top-level tags,
// listed and unlisted members and free records, loaded, then given random new and known names.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>

#include "base/le_codec.h"
#include "dictionary_files.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "testing/temp_dir.h"
#include "testing/test_seed.h"

namespace quellor {
namespace {

namespace tl = tag_layout;

struct Model {
  std::map<std::int32_t, std::string> used;  // record number -> name
  std::int32_t count = 0;

  std::int32_t HighestFree() const {
    for (std::int32_t n = count; n >= 1; --n) {
      if (!used.contains(n)) return n;
    }
    return 0;
  }
};

void RunOneSeed(std::uint32_t seed) {
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  const auto chance = [&](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
  };
  const int size = std::uniform_int_distribution<int>(0, 60)(random);

  // Kinds: free, top-level, member. Members are listed by a random earlier top-level tag.
  std::vector<std::optional<testing::TestTag>> records(static_cast<std::size_t>(size));
  Model model;
  model.count = size;
  std::vector<std::int32_t> parents;
  for (int n = 1; n <= size; ++n) {
    const int kind = std::uniform_int_distribution<int>(0, 2)(random);
    if (kind == 0) continue;
    auto& tag = records[static_cast<std::size_t>(n - 1)];
    if (kind == 1 || parents.empty()) {
      tag = testing::TestTag{.name = "T" + std::to_string(n)};
      parents.push_back(n);
      model.used[n] = tag->name;
      continue;
    }
    tag = testing::TestTag{.name = "P\\M" + std::to_string(n)};
    if (chance(60)) {
      const std::int32_t parent =
          parents[std::uniform_int_distribution<std::size_t>(0, parents.size() - 1)(random)];
      records[static_cast<std::size_t>(parent - 1)]->members.push_back(n);
      model.used[n] = tag->name;
    }
  }
  testing::TempDir dir;
  testing::WriteDictionary(dir.path(), records);

  ScopedReportCapture capture;
  {
    CTagDict dict(TagDictOptions{.folder = dir.path().string()});
    ASSERT_EQ(dict.record_count(), model.count);
    ASSERT_EQ(dict.used_count(), static_cast<std::int32_t>(model.used.size()));
    ASSERT_EQ(dict.free_head(), model.HighestFree());
    for (int op = 0; op < 40; ++op) {
      std::string name;
      if (!model.used.empty() && chance(30)) {
        auto it = model.used.begin();
        std::advance(it,
                     std::uniform_int_distribution<std::size_t>(0, model.used.size() - 1)(random));
        const TagAllocation known = dict.FindOrAllocateRecord(it->second, 0);
        ASSERT_TRUE(known.existed);
        ASSERT_EQ(known.rec_no, it->first);
        continue;
      }
      name = "New" + std::to_string(op);
      const std::int32_t expected =
          model.HighestFree() != 0 ? model.HighestFree() : model.count + 1;
      const TagAllocation fresh = dict.FindOrAllocateRecord(name, 0);
      ASSERT_FALSE(fresh.existed);
      ASSERT_EQ(fresh.rec_no, expected);
      model.count = std::max(model.count, expected);
      model.used[expected] = name;
      TagRec_T record;
      dict.InitTagRecord(record, 0, nullptr);
      record.SetText(tl::kName, tl::kNameWidth, name);
      dict.WriteRecord(fresh.rec_no, record);
    }
    ASSERT_EQ(dict.used_count(), static_cast<std::int32_t>(model.used.size()));
  }
  // The file holds exactly the model, and the next load finds it so.
  const std::string tag_file = testing::ReadFile(dir.path() / "Tagname.X");
  const auto* header = reinterpret_cast<const std::uint8_t*>(tag_file.data());
  EXPECT_EQ(LoadLeI32(header + tl::kHdrRecordCount), model.count);
  EXPECT_EQ(LoadLeI32(header + tl::kHdrUsedCount), static_cast<std::int32_t>(model.used.size()));
  ASSERT_EQ(tag_file.size(), static_cast<std::size_t>(model.count + 1) * 1024);
  for (std::int32_t n = 1; n <= model.count; ++n) {
    const auto it = model.used.find(n);
    EXPECT_EQ(testing::RecordOf(tag_file, n).Name(), it == model.used.end() ? "" : it->second) << n;
  }
  CTagDict again(TagDictOptions{.folder = dir.path().string()});
  EXPECT_EQ(again.used_count(), static_cast<std::int32_t>(model.used.size()));
  EXPECT_EQ(again.free_head(), model.HighestFree());
}

TEST(TagDictModel, LoadRepairAndAllocationFollowTheModel) {
  const std::uint32_t first = testing::TestSeed(1);
  for (std::uint32_t i = 0; i < 30; ++i) {
    RunOneSeed(first + i);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace quellor
