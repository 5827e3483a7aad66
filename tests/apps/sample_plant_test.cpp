// The sample plant of examples/plant built end to end through discovery: every application
// prepared from the shell and given its DDE.CFG, every historian node its import file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "apps/client_apps.h"
#include "apps_fixture.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(SamplePlantTest, EveryApplicationAndHistorianNodeIsBuilt) {
  testing::AppsProject project(testing::ReadFile(QUELLOR_PLANT_SQL));
  project.SetRegistry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Holdrane\\Corvane]\r\n\"InTShellApp\"=\"" +
                      project.AddShellApp("shell") + "\"\r\n");
  const CClientApps apps(project.ProjectDir(), project.FactorySuiteDir(), project.ClientsDir(),
                         std::nullopt, std::nullopt);

  std::vector<std::string> names;
  for (const auto& app : apps.InTouchApps()) {
    names.push_back(app->InTouchAppName());
    EXPECT_THAT(testing::ReadFile(project.AppDir(app->InTouchAppName()) / "DDE.CFG"),
                HasSubstr("PLC_AREA"));
  }
  EXPECT_THAT(names, ElementsAre("Packaging", "Unit1", "Unit2"));
  ASSERT_EQ(apps.InSQLNodes().size(), 2U);
  EXPECT_EQ(apps.InSQLNodes()[0]->NodeName(), "SCADA1");
  EXPECT_EQ(apps.InSQLNodes()[1]->NodeName(), "SCADA3");

  const std::string scada1 = testing::ReadFile(project.NodeDir("SCADA1") / "TagImport.txt");
  EXPECT_THAT(scada1, HasSubstr("\xB0"
                                "C\t10000\t1\r\n"));
  EXPECT_THAT(scada1, HasSubstr("TIC101\\ALM\\HI\tHigh temperature alarm\tSCADA1\tPelnetData\t"
                                "InSQL\tTIC101.ALM.HI\t"));
  EXPECT_THAT(scada1, HasSubstr("\t-20.000000\t120.000000\t-20.000000\t120.000000\tLinear\t"));
  EXPECT_THAT(scada1, Not(HasSubstr("PIC601")));
  const std::string scada3 = testing::ReadFile(project.NodeDir("SCADA3") / "TagImport.txt");
  EXPECT_THAT(scada3, HasSubstr("\r\nAN501\tBatch name\tSCADA3\tPelnetData\tInSQL\tAN501\t"));
  EXPECT_THAT(scada3, Not(HasSubstr("PIC601\\SP")));
}

}  // namespace
}  // namespace quellor
