// A full dictionary: the limit's message, and each tag it drops named on standard error.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dictionary_files.h"
#include "merge_project.h"

namespace quellor {
namespace {

using testing::MergeProject;
using testing::TrendRow;

// A dictionary of `used` filler records, written into the project's application folder.
void FillDictionary(const MergeProject& project, int used) {
  std::string tag_file = testing::HeaderBytes(9);
  tag_file.resize(1024, '\0');
  tag_file.reserve(1024 * static_cast<std::size_t>(used + 1));
  for (int n = 1; n <= used; ++n) {
    const TagRec_T record = testing::MakeRecord({.name = "Z" + std::to_string(n)});
    tag_file.append(reinterpret_cast<const char*>(record.bytes().data()), 1024);
  }
  testing::WriteFile(project.app().path() / "Tagname.X", tag_file);
}

TEST(DroppedTags, EachTagTheFullDictionaryDropsIsNamed) {
  const TrendRow fixed_field{
      .tag = "F", .fix = "X", .record_type = "FldTag", .field_code = 0, .fix_code = 8};
  const struct {
    const char* name;
    int used;  // filler records before the merge
    std::vector<TrendRow> rows;
    std::vector<std::string> dropped;  // after "<Tagname.X> holds 60000 records: tag "
  } cases[] = {
      // B takes the last record; its member stops the merge, which never reaches C and D.
      {"a member stops the merge",
       59999,
       {{.tag = "B", .field = "F1"},
        {.tag = "B", .field = "F2"},
        {.tag = "C", .field = "F1"},
        {.tag = "D", .field = "F1"}},
       {"B\\F1 was not created", "C was not merged", "D was not merged"}},
      // F and F\X take the last two records; the value member is dropped, the merge goes on.
      {"a value member", 59998, {fixed_field}, {"F\\v was not created"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MergeProject project(c.rows);
    FillDictionary(project, c.used);
    ::testing::internal::CaptureStderr();
    const testing::MergeResult result = project.Merge();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(result.Texts(),
                ::testing::Contains(
                    "TagName.X : Attempt to create more than 60000 entries in the Tagname.X"));
    std::string expected;
    for (const std::string& tag : c.dropped) {
      expected +=
          project.app().path().string() + "\\Tagname.X holds 60000 records: tag " + tag + "\n";
    }
    EXPECT_EQ(err, expected);
    EXPECT_EQ(result.RecordCount(), 60000);
  }
}

}  // namespace
}  // namespace quellor
