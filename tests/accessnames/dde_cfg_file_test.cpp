#include "accessnames/dde_cfg_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "report/report.h"
#include "testing/lock_holder.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using ::testing::ElementsAre;

// One access name, as the file holds it with CR LF line ends.
constexpr char kFile[] =
    "Begin DDE Information.\r\n"
    "Last DDE Source:\t3\r\n"
    "Begin DDE Source Definition.\r\n"
    "    Source Name:\t\tPLC1\r\n"
    "    Application Name:\t\t\\\\SCADA1\\PelnetData\r\n"
    "    Topic Name:\t\t\tSCADA1@PLC1@None\r\n"
    "    DDE Source ID:\t\t3\r\n"
    "    Request Initial Data:\t1\r\n"
    "    Always Advise:\t\t0\r\n"
    "    SuiteLink:\t\t\t1\r\n"
    "    Begin DDE Points\r\n"
    "        TIC101;0001:  TIC101\r\n"
    "    End DDE Points\r\n"
    "End DDE Source Definition.\r\n"
    "End DDE Information.\r\n";

class DDECfgFile : public ::testing::Test {
 protected:
  std::string Folder() const { return dir_.path().string(); }
  std::filesystem::path File() const { return dir_.path() / "DDE.CFG"; }
  std::string Shown() const { return Folder() + "\\DDE.CFG"; }

  testing::TempDir dir_;
  ScopedReportCapture capture_;
};

TEST_F(DDECfgFile, ReadsCrLfTextAndStopsAtCtrlZ) {
  testing::WriteFile(File(), std::string(kFile) +
                                 "\x1A"
                                 "garbage that is never read");
  CAccNames names;
  EXPECT_TRUE(ReadDDECfgFile(Folder(), names));
  ASSERT_EQ(names.GetCount(), 1);
  EXPECT_EQ(names.GetRecord(0).MasterServer, "SCADA1");
  EXPECT_THAT(capture_.lines(), ElementsAre("        Read Access Name data from file " + Shown()));
}

TEST_F(DDECfgFile, AMissingFileIsAnEmptySetAndAHeldOneRefusesTheApplication) {
  CAccNames missing;
  EXPECT_TRUE(ReadDDECfgFile(Folder(), missing));
  EXPECT_EQ(missing.GetCount(), 0);
  testing::WriteFile(File(), kFile);
  testing::LockHolder other_build(File());
  CAccNames held;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(ReadDDECfgFile(Folder(), held));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            File().string() + ": held by another Quellor process\n");
  EXPECT_EQ(held.GetCount(), 0);
  EXPECT_THAT(capture_.lines(), ElementsAre("        No existing Access Name data",
                                            "ERROR - Failed to open " + Shown()));
}

TEST_F(DDECfgFile, WritesCrLfAndReadsBackTheSameBytes) {
  testing::WriteFile(File(), kFile);
  CAccNames names;
  ASSERT_TRUE(ReadDDECfgFile(Folder(), names));
  capture_.Clear();
  WriteDDECfgFile(names, Folder());
  EXPECT_EQ(testing::ReadFile(File()), kFile);
  EXPECT_THAT(capture_.lines(), ElementsAre("        Created file " + Shown()));
}

TEST_F(DDECfgFile, AReadOnlyFileIsNotReplacedAndTheFailureReported) {
  testing::WriteFile(File(), kFile);
  CAccNames names;
  ASSERT_TRUE(ReadDDECfgFile(Folder(), names));
  int index = -1;
  ProjAccName_T row{"PLC2", "", "SCADA3", "", "PelnetData"};
  names.MergeAccessName(row, index);
  std::filesystem::permissions(File(), std::filesystem::perms::owner_read);
  capture_.Clear();
  ::testing::internal::CaptureStderr();
  WriteDDECfgFile(names, Folder());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), File().string() + ": read-only\n");
  EXPECT_EQ(testing::ReadFile(File()), kFile);
  EXPECT_THAT(capture_.lines(), ElementsAre("ERROR - Failed to create file " + Shown()));
}

}  // namespace
}  // namespace quellor
