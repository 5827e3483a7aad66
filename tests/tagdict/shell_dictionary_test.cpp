// The sample plant's shell application carries a dictionary made by WriteShellDictionary.
// With QUELLOR_WRITE_EXAMPLES set, the test writes the files into the source tree instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "dictionary_files.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

TEST(ShellDictionary, TheSamplePlantsShellHoldsTheSystemAndOnePlantAlarmGroup) {
  const std::filesystem::path shell =
      std::filesystem::path(QUELLOR_SOURCE_DIR) / "examples/plant/shell";
  if (std::getenv("QUELLOR_WRITE_EXAMPLES") != nullptr) {
    std::filesystem::create_directories(shell);
    testing::WriteShellDictionary(shell);
  }
  testing::TempDir dir;
  testing::WriteShellDictionary(dir.path());
  for (const char* file : {"Tagname.X", "Tag_Ext.X"}) {
    EXPECT_EQ(testing::ReadFile(shell / file), testing::ReadFile(dir.path() / file)) << file;
  }
  // A build finds it sound: nothing to repair, both groups under "$System".
  ScopedReportCapture capture;
  const std::string before = testing::ReadFile(dir.path() / "Tagname.X");
  {
    CTagDict dict(TagDictOptions{.folder = dir.path().string()});
    EXPECT_EQ(dict.used_count(), 2);
    ASSERT_NE(dict.tag_index(), nullptr);
    EXPECT_EQ(testing::IndexEntryOf(dict, "Plant").RecNo, 2);
  }
  std::string after = testing::ReadFile(dir.path() / "Tagname.X");
  after[8] = before[8];  // the save count
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace quellor
