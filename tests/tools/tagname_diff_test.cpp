// quellor-dump tagname --diff: two dictionaries in temporary folders compared through the built
// tool; what counts as a difference, how it is shown, and the exit codes of diff(1).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/le_codec.h"
#include "tagdict/dictionary_files.h"
#include "tagdict/tag_layout.h"
#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using ::quellor::testing::BinaryPath;
using ::quellor::testing::RunBinary;
using ::quellor::testing::RunResult;
using ::quellor::testing::TestTag;
using ::testing::HasSubstr;

using Records = std::vector<std::optional<TestTag>>;

// The dictionary every case starts from: an alarm group, a group and its one member.
const Records kBase = {TestTag{.name = "$System", .type = 217, .alarm_group = 1},
                       TestTag{.name = "TIC101", .type = 213, .members = {3}},
                       TestTag{.name = "TIC101\\PV", .type = 206, .access_name = 2}};

void SetHeaderWord(const std::filesystem::path& folder, std::size_t offset, std::int32_t value) {
  std::string tag_file = testing::ReadFile(folder / "Tagname.X");
  StoreLeI32(reinterpret_cast<std::uint8_t*>(tag_file.data()) + offset, value);
  testing::WriteFile(folder / "Tagname.X", tag_file);
}

class TagnameDiff : public ::testing::Test {
 protected:
  void SetUp() override { testing::WriteDictionary(a_.path(), kBase); }

  RunResult Diff(const std::vector<std::string>& options = {}) {
    std::vector<std::string> args = {"tagname", "--diff"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(a_.path().string());
    args.push_back(b_.path().string());
    return RunBinary(BinaryPath("quellor-dump"), args);
  }

  testing::TempDir a_;
  testing::TempDir b_;
};

TEST_F(TagnameDiff, ShowsEachDifferenceByTagNameAndExitsAsDiffDoes) {
  const struct {
    const char* name;
    Records b;
    std::int32_t b_version;
    const char* out;
  } cases[] = {
      {"a name's case changed, all at other record numbers",
       {std::nullopt, TestTag{.name = "TIC101\\PV", .type = 206, .access_name = 2},
        TestTag{.name = "tic101", .type = 213, .members = {2}},
        TestTag{.name = "$System", .type = 217, .alarm_group = 4}},
       9,
       "changed \"tic101\"\n    name: \"TIC101\" -> \"tic101\"\n"},
      {"a member replaced by another of a new name",
       {kBase[0], TestTag{.name = "TIC101", .type = 213, .members = {4}}, std::nullopt,
        TestTag{.name = "TIC101\\SP", .type = 206, .access_name = 2}},
       9,
       "changed \"TIC101\"\n    members: \"TIC101\\PV\" -> \"TIC101\\SP\"\n"
       "removed \"TIC101\\PV\"\nadded \"TIC101\\SP\"\n"},
      {"a field of a type changed, a second record of a name, a member naming nothing",
       {kBase[0], TestTag{.name = "TIC101", .type = 213, .members = {3, 70}},
        TestTag{.name = "TIC101\\PV", .type = 204, .access_name = 5},
        TestTag{.name = "TIC101\\pv", .type = 206, .access_name = 2}},
       10,
       "header version: 9 -> 10\n"
       "changed \"TIC101\"\n    member_count: 1 -> 2\n"
       "    members: \"TIC101\\PV\" -> \"TIC101\\PV\" 70\n"
       "changed \"TIC101\\PV\"\n    type: 206 -> 204\n    access_name: 2 -> 5\n"
       "added \"TIC101\\pv\" (record 2 of that name)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::WriteDictionary(b_.path(), c.b, c.b_version);
    SetHeaderWord(b_.path(), tag_layout::kHdrSaveCount, 41);  // never a difference
    const RunResult run = Diff();
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(TagnameDiff, TheSameDictionarySavedAgainIsNoDifference) {
  testing::WriteDictionary(
      b_.path(), {std::nullopt, TestTag{.name = "TIC101\\PV", .type = 206, .access_name = 2},
                  TestTag{.name = "TIC101", .type = 213, .members = {2}},
                  TestTag{.name = "$System", .type = 217, .alarm_group = 4}});
  SetHeaderWord(b_.path(), tag_layout::kHdrSaveCount, 41);
  SetHeaderWord(b_.path(), tag_layout::kHdrUsedCount, 3);
  const RunResult run = Diff();
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "");
}

TEST_F(TagnameDiff, JsonAndCsvListTheSameDifferences) {
  testing::WriteDictionary(b_.path(), {kBase[0], TestTag{.name = "TIC101", .type = 213},
                                       std::nullopt, TestTag{.name = "FIC,1", .type = 202}});
  RunResult run = Diff({"--format", "csv"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out,
            "change,name,occurrence,field,a,b\r\n"
            "added,\"FIC,1\",1,,,\r\n"
            "changed,TIC101,1,member_count,1,0\r\n"
            "changed,TIC101,1,members,\"\"\"TIC101\\PV\"\"\",\r\n"
            "removed,TIC101\\PV,1,,,\r\n");
  run = Diff({"--format", "json"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.out, HasSubstr("\"header\": [],\n  \"tags\": [\n    {\n"
                                 "      \"change\": \"added\",\n      \"name\": \"FIC,1\",\n"));
  EXPECT_THAT(run.out,
              HasSubstr("\"field\": \"members\",\n          \"a\": \"\\\"TIC101\\\\PV\\\"\",\n"
                        "          \"b\": \"\"\n"));
}

TEST_F(TagnameDiff, AnUnreadableOrUnsoundDictionaryIsTroubleWithTwo) {
  testing::WriteDictionary(b_.path(), kBase);
  std::string cut = testing::ReadFile(b_.path() / "Tagname.X");
  const struct {
    const char* name;
    std::string b_tag_file;  // empty: no Tagname.X at all
    const char* err;
  } cases[] = {
      {"no Tagname.X", "", "quellor-dump: "},
      {"cut inside a record", cut.substr(0, 2500), "cut (452 bytes after the last whole record)"},
      {"no whole header", cut.substr(0, 20), "damaged (no whole header)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(b_.path() / "Tagname.X");
    if (!c.b_tag_file.empty()) testing::WriteFile(b_.path() / "Tagname.X", c.b_tag_file);
    const RunResult run = Diff();
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr(c.err));
  }
}

}  // namespace
}  // namespace quellor
