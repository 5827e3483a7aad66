// The sample plant that `make demo` builds: its hand-made files read whole with the
// program's own readers, and its project passes quellor's gate on its machine.
#include <gtest/gtest.h>

#include <filesystem>

#include "accessnames/dde_cfg_file.h"
#include "report/report.h"
#include "tagbrowser/tag_brw.h"
#include "testing/project_database.h"
#include "testing/run_binary.h"
#include "testing/status_matchers.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {

namespace fs = std::filesystem;

const fs::path kPlant = QUELLOR_PLANT_DIR;

TEST(SamplePlant, TheShellApplicationsDdeCfgHoldsTheDummyPlaceholder) {
  const ScopedReportCapture capture;
  CAccNames names;
  EXPECT_TRUE(ReadDDECfgFile((kPlant / "shell").string(), names));
  ASSERT_EQ(names.GetCount(), 1);
  EXPECT_EQ(names.GetSourceName(0), "Dummy");
  EXPECT_EQ(names.GetTopicName(0), "Dummy");
}

TEST(SamplePlant, TheShellApplicationsTagBrowserDataLoadsAndStoresTheSameBytes) {
  const std::string bytes = testing::ReadFile(kPlant / "shell" / "TagBrw.DAT");
  const std::vector<std::uint8_t> file(bytes.begin(), bytes.end());
  CTagBrw model;
  ASSERT_THAT(model.Load(file), testing::IsOk());
  EXPECT_EQ(model.Store(), file);
}

TEST(SamplePlant, QuellorBuildsThePlantOnItsMachine) {
  const testing::TempPrefix prefix;
  const testing::TempDir drive;
  prefix.AddFile("machine.reg", testing::ReadFile(kPlant / "prefix" / "machine.reg"));
  prefix.MapDrive('c', drive.path());
  fs::create_directories(drive.path() / "Projects" / "Plant");
  testing::CreateProjectDatabase(drive.path() / "Projects" / "Plant" / "Project.mdb",
                                 testing::ReadFile(kPlant / "plant.sql"));

  testing::RunOptions options;
  options.env = {{"QUELLOR_PREFIX", prefix.path().string()}};
  const testing::RunResult result = testing::RunBinary(
      testing::BinaryPath("quellor"), {"C:\\Projects\\Plant\\Project.mdb"}, options);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_TRUE(result.out.starts_with("C:\\PROJECTS\\PLANT\\PROJECT.MDB\nQuellor - Quellorant\n"))
      << result.out;
  EXPECT_EQ(result.out.find("not required"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("Failed to attach"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace quellor
