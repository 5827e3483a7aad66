// The merge against a simple model: random projects of blocks (fields, subfields) and field
// tags (fixed fields), seeded; each tag the model expects must be in the dictionary under its
// parent, with its type, item and members in order, and nothing else.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "merge_project.h"
#include "tagdict/data_type.h"
#include "tagdict/tag_layout.h"

namespace quellor {
namespace {

namespace tl = tag_layout;
using testing::MergeResult;
using testing::TrendRow;

struct ModelTag {
  std::string parent;  // "" for a top-level tag
  std::uint16_t type = 0;
  std::string item;  // "" for none
  std::vector<std::string> members;
};

using Model = std::map<std::string, ModelTag>;

struct Generated {
  std::vector<TrendRow> rows;
  Model model;
};

// Adds `name` under `parent` to the model.
void Add(Model& model, const std::string& name, const std::string& parent, std::uint16_t type,
         const std::string& item) {
  model[name] = ModelTag{parent, type, item, {}};
  if (!parent.empty()) model[parent].members.push_back(name);
}

void GenerateBlock(std::mt19937& random, const std::string& tag, Generated& out) {
  static constexpr int kCodes[] = {1, 7, 8, 10};
  Add(out.model, tag, "", tl::kTypeGroup, "");
  const int fields = static_cast<int>(random() % 5) + 1;
  for (int f = 0; f < fields; ++f) {
    const std::string field = "F" + std::to_string(f);
    const int code = kCodes[random() % 4];
    const int logged = random() % 4 == 0 ? 0 : 1;
    const int subfields = static_cast<int>(random() % 4);
    out.rows.push_back({.tag = tag, .field = field, .field_code = code, .logged = logged});
    for (int s = 0; s < subfields; ++s) {
      out.rows.push_back({.tag = tag,
                          .field = field,
                          .subfield = "S" + std::to_string(s),
                          .field_code = code,
                          .logged = logged});
    }
    if (logged == 0) continue;
    const std::uint16_t type = MapDataType(static_cast<std::int16_t>(code), true);
    const std::string member = tag + "\\" + field;
    Add(out.model, member, tag, type, tag + "." + field);
    for (int s = 0; s < subfields; ++s) {
      const std::string sub = "S" + std::to_string(s);
      Add(out.model, tag + "." + field + "\\" + sub, member, type, tag + "." + field + "." + sub);
    }
    if (subfields > 0) Add(out.model, member + "\\v", member, type, "");
  }
}

void GenerateFieldTag(std::mt19937& random, const std::string& tag, Generated& out) {
  static constexpr int kCodes[] = {1, 7, 8, 10};
  const bool digit = tag[0] >= '0' && tag[0] <= '9';
  const std::string name = digit ? "Y" + tag : tag;
  const int fixes = static_cast<int>(random() % 4);
  std::vector<int> codes;
  for (int x = 0; x < std::max(fixes, 1); ++x) codes.push_back(kCodes[random() % 4]);
  Add(out.model, name, "", MapDataType(static_cast<std::int16_t>(codes[0]), true), tag);
  if (fixes == 0) {
    out.rows.push_back({.tag = tag, .record_type = "FldTag", .fix_code = codes[0]});
    return;
  }
  for (int x = 0; x < fixes; ++x) {
    const std::string fix = "X" + std::to_string(x);
    out.rows.push_back({.tag = tag, .fix = fix, .record_type = "FldTag", .fix_code = codes[x]});
    Add(out.model, name + "\\" + fix, name, MapDataType(static_cast<std::int16_t>(codes[x]), true),
        tag + "." + fix);
  }
  Add(out.model, name + "\\v", name, out.model[name].type, "");
}

Generated Generate(std::uint32_t seed) {
  std::mt19937 random(seed);
  Generated out;
  const int tags = static_cast<int>(random() % 20) + 5;
  for (int t = 0; t < tags; ++t) {
    const std::string number = std::to_string(100 + t);
    switch (random() % 3) {
      case 0:
        GenerateBlock(random, "B" + number, out);
        break;
      case 1:
        GenerateFieldTag(random, "U" + number, out);
        break;
      default:
        GenerateFieldTag(random, "7" + number, out);
        break;
    }
  }
  return out;
}

void ExpectMatchesModel(const MergeResult& r, const Model& model) {
  EXPECT_EQ(r.RecordCount(), static_cast<std::int32_t>(model.size()));
  EXPECT_EQ(r.counters.ProcessedTotal, static_cast<std::int32_t>(model.size()));
  for (const auto& [name, tag] : model) {
    SCOPED_TRACE(name);
    const auto found = r.Find(name);
    ASSERT_TRUE(found.has_value());
    const TagRec_T& record = found->second;
    EXPECT_EQ(record.Parent(), tag.parent.empty() ? 0 : r.RecNo(tag.parent));
    EXPECT_EQ(record.Type(), tag.type);
    EXPECT_EQ(record.ItemName(), tag.item);
    ASSERT_EQ(record.MemberCount(), tag.members.size());
    for (std::size_t i = 0; i < tag.members.size(); ++i) {
      EXPECT_EQ(record.Member(static_cast<std::uint32_t>(i)), r.RecNo(tag.members[i]));
    }
  }
}

TEST(TagMergeModel, RandomProjectsGiveTheModelsTagsAndASecondMergeChangesNothing) {
  for (std::uint32_t seed = 1; seed <= 8; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const Generated generated = Generate(seed);
    testing::MergeProject project(generated.rows);
    const MergeResult first = project.Merge();
    EXPECT_TRUE(first.messages.empty());
    ExpectMatchesModel(first, generated.model);
    const MergeResult second = project.Merge();
    EXPECT_TRUE(second.messages.empty());
    EXPECT_EQ(second.tag_file.substr(tl::kRecordSize), first.tag_file.substr(tl::kRecordSize));
    EXPECT_EQ(second.counters.ModifiedTotal, 0);
  }
}

}  // namespace
}  // namespace quellor
