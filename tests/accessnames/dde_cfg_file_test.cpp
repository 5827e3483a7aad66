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

TEST_F(DDECfgFile, ACrBeforeAnLfEndsTheLineAndAnyOtherCrIsText) {
  const std::string file = kFile;
  const auto replaced = [&file](std::string_view from, std::string_view to) {
    std::string text = file;
    return text.replace(text.find(from), from.size(), to);
  };
  const std::string invalid = "ERROR - Invalid format in file " + Shown();
  const struct {
    const char* name;
    std::string text;
    bool valid;
    std::string topic;
  } cases[] = {
      {"CR inside a value", replaced("SCADA1@PLC1@None", "A\rB"), true, "A\rB"},
      {"CR CR LF", replaced("@None\r\n", "@None \r\r\n"), true, "SCADA1@PLC1@None"},
      {"blank CR LF line among the points",
       replaced("    End DDE Points", "\r\n    End DDE Points"), false, ""},
      {"cut inside the block", file.substr(0, file.find("    End DDE Points")), false, ""},
  };
  for (const auto& c : cases) {
    testing::WriteFile(File(), c.text);
    capture_.Clear();
    CAccNames names;
    EXPECT_EQ(ReadDDECfgFile(Folder(), names), c.valid) << c.name;
    if (c.valid) {
      ASSERT_EQ(names.GetCount(), 1) << c.name;
      EXPECT_EQ(names.GetRecord(0).TopicName, c.topic) << c.name;
    } else {
      EXPECT_EQ(names.GetCount(), 0) << c.name;
      EXPECT_THAT(capture_.lines(), ElementsAre(invalid)) << c.name;
    }
  }
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
