#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accessnames/dde_cfg.h"
#include "accessnames/dde_cfg_values.h"
#include "report/report.h"

namespace quellor {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr char kPath[] = "C:\\APPS\\V1\\DDE.CFG";

CAccNames Parse(std::string_view text) {
  CAccNames names;
  EXPECT_TRUE(ParseDDECfg(text, names)) << text;
  return names;
}

// Writes the set as a build does and returns the text the file received.
std::string Write(CAccNames& names) {
  std::string file;
  WriteDDECfg(names, kPath, [&file](std::string_view text) {
    file = std::string(text);
    return Status::Ok();
  });
  return file;
}

int Merge(CAccNames& names, ProjAccName_T row) {
  int index = -1;
  names.MergeAccessName(row, index);
  return index;
}

std::vector<std::string> Records(const CAccNames& names) {
  std::vector<std::string> out;
  for (int i = 0; i < names.GetCount(); ++i) {
    const AccName_T& r = names.GetRecord(i);
    std::string line = r.SourceName + "|" + r.MasterServer + "|" + r.ApplicationName + "|" +
                       r.TopicName + "|" + std::to_string(r.DDESourceID) + "|" +
                       std::to_string(r.RequestInitialData) + std::to_string(r.AlwaysAdvise) +
                       std::to_string(r.SuiteLink) + "|" + (r.Secondary ? "S" : "-");
    if (r.Points != nullptr) {
      for (const DDEPoint_T& p : r.Points->ToVector()) {
        line += " " + p.TagName + "/" + std::to_string(p.TagIndex) + "/" + p.ItemName;
      }
    }
    out.push_back(line);
  }
  return out;
}

const std::string kGolden =
    "Begin DDE Information.\n"
    "Last DDE Source:\t12\n"
    "Begin DDE Source Definition.\n"
    "    Source Name:\t\tRED\n"
    "Primary Data Source\n"
    "    Application Name:\t\t\\\\N1\\View\n"
    "    Topic Name:\t\t\tT\n"
    "    DDE Source ID:\t\t-4\n"
    "    Request Initial Data:\t1\n"
    "    Always Advise:\t\t0\n"
    "    SuiteLink:\t\t\t1\n"
    "    Begin DDE Points\n"
    "        TAG1;0012:  ITEM:X\n"
    "        T2;1a2b3:  I\n"
    "        T3;ffffffff:  I\n"
    "    End DDE Points\n"
    "Secondary Data Source\n"
    "    Application Name:\t\t\\\\N2\\View\n"
    "    Topic Name:\t\t\t\n"
    "    Request Initial Data:\t0\n"
    "    Always Advise:\t\t1\n"
    "    SuiteLink:\t\t\t0\n"
    "End DDE Source Definition.\n"
    "Begin Failover Information\n"
    "    Source Name:\t\tRED\n"
    "Failover Expression:\t\t\tX > 1\n"
    "Failover Deadband:\t\t\t5\n"
    "DFOFlag:\t\t\t1\n"
    "FBDFlag:\t\t\t\n"
    "Failback Deadband:\t\t\t2.5\n"
    "End Failover Information\n"
    "Begin DDE Source Definition.\n"
    "    Source Name:\t\tPLAIN\n"
    "    Application Name:\t\t\\\\\\Excel\n"
    "    Topic Name:\t\t\tBook1\n"
    "    DDE Source ID:\t\t12\n"
    "    Request Initial Data:\t1\n"
    "    Always Advise:\t\t1\n"
    "    SuiteLink:\t\t\t0\n"
    "    Begin DDE Points\n"
    "    End DDE Points\n"
    "End DDE Source Definition.\n"
    "End DDE Information.\n";

TEST(WriteDDECfg, WritesTheLineFormatsByteForByte) {
  CAccNames names = Parse(
      "Begin DDE Information.\nLast DDE Source: 12 \nBegin DDE Source Definition.\n"
      "Source Name:RED\nPrimary Data Source\nApplication Name: \\\\ N1 \\ View\nTopic Name: T\n"
      "DDE Source ID:-4\n1\n0\n1\nBegin DDE Points\nTAG1;0x12:ITEM:X\nT2;1A2B3: I\n"
      "T3;-1:I\nEnd DDE Points\nSecondary Data Source\nApplication Name:\\\\N2\\View\n"
      "Topic Name:\nRequest Initial Data:0\nAlways Advise:1\nSuiteLink:0\n"
      "End DDE Source Definition.\nBegin Failover Information\nSource Name:OTHER\n"
      "Failover Expression: X > 1\nFailover Deadband:5\nDFOFlag:1\nFBDFlag:\n"
      "Failback Deadband:2.5\nEnd Failover Information\nBegin DDE Source Definition.\n"
      "Source Name:PLAIN\nApplication Name:Excel\nTopic Name:Book1\nDDE Source ID:12\n"
      "Request Initial Data:1\nAlways Advise:1\nSuiteLink:0\nBegin DDE Points\n"
      "End DDE Points\nEnd DDE Source Definition.\nEnd DDE Information.\n");
  ScopedReportCapture capture;
  EXPECT_EQ(Write(names), kGolden);
  EXPECT_THAT(capture.messages(),
              ElementsAre(ReportedMessage{"        Created file C:\\APPS\\V1\\DDE.CFG", 0, 0}));
}

TEST(WriteDDECfg, ReadsBackWhatItWroteAndWritesItAgainUnchanged) {
  CAccNames from_file = Parse(kGolden);
  CAccNames merged;
  Merge(merged, {"Plant", "", "SRV1", "SRV2", "PelnetData"});
  Merge(merged, {"Hmi", "", "NODE", "", "view"});
  Merge(merged, {"Sheet", "Book 1", "PC", "", "Excel"});
  merged.SetTagPoint(1, "FT100", 1, "FT100.PV");
  merged.SetTagPoint(1, "FT101", 0x10000, "FT101.PV");
  merged.SetTagPoint(3, "X", 2, "R1C1");
  const int recipe[] = {2};
  merged.SetAlwaysAdvise(recipe, 1);

  for (CAccNames* names : {&from_file, &merged}) {
    const std::string first = Write(*names);
    CAccNames read = Parse(first);
    EXPECT_EQ(Records(read), Records(*names));
    EXPECT_EQ(read.GetLastDDESource(), names->GetLastDDESource());
    EXPECT_EQ(Write(read), first);
  }
}

TEST(WriteDDECfg, LosesOnlyTheStandbyServerBlanksAndSeparatorsOnTheWayBack) {
  CAccNames names;
  Merge(names, {"AN", "  T  ", "M\\X", "STANDBY", "View"});
  names.SetTagPoint(1, "A;B", 1, " I");
  const CAccNames read = Parse(Write(names));
  const AccName_T& record = read.GetRecord(0);
  EXPECT_EQ(record.StandbyServer, "");
  EXPECT_EQ(record.TopicName, "T");
  EXPECT_EQ(record.MasterServer, "M");
  EXPECT_EQ(record.ApplicationName, "X\\View");
  EXPECT_EQ(record.Points->ToVector(), (std::vector<DDEPoint_T>{{"A", 0xB, "I"}}));
}

TEST(WriteDDECfg, NeverCutsLongValues) {
  CAccNames names;
  const std::string long_name(250, 'N');
  const std::string long_item(500, 'i');
  Merge(names, {long_name, std::string(300, 't'), std::string(220, 'm'), "", "PelnetData"});
  names.SetTagPoint(1, std::string(210, 'T'), 1, long_item);
  const std::string text = Write(names);
  EXPECT_EQ(Records(Parse(text)), Records(names));
}

// "\\NODE1" names a node and no application. Written as three backslashes alone it would make
// the next read refuse the file; it is kept as read until a merge sets the fields.
TEST(WriteDDECfg, WritesANodeWithoutApplicationBackUnchangedUntilAMergeSetsIt) {
  const std::string text =
      "Begin DDE Information.\nLast DDE Source:\t1\nBegin DDE Source Definition.\n"
      "    Source Name:\t\tAN\n    Application Name:\t\t\\\\NODE1\n    Topic Name:\t\t\tT\n"
      "    DDE Source ID:\t\t1\n    Request Initial Data:\t1\n    Always Advise:\t\t0\n"
      "    SuiteLink:\t\t\t1\n    Begin DDE Points\n    End DDE Points\n"
      "End DDE Source Definition.\nEnd DDE Information.\n";
  CAccNames first_build = Parse(text);
  const std::string written = Write(first_build);
  EXPECT_EQ(written, text);
  CAccNames second_build = Parse(written);
  EXPECT_EQ(Write(second_build), text);

  Merge(second_build, {"an", "T", "NODE1", "", "PelnetData"});
  const std::string merged = Write(second_build);
  EXPECT_THAT(merged, HasSubstr("    Application Name:\t\t\\\\NODE1\\PelnetData\n"));
  EXPECT_EQ(Records(Parse(merged)), Records(second_build));
}

TEST(WriteDDECfg, GivesTheFirstPlaceholderTheServerOfTheFirstPelnetAccessName) {
  CAccNames names;
  Merge(names, {"dummy", "DUMMY", "OLD", "", "View"});
  Merge(names, {"Dummy", "Dummy", "OLD", "", "View"});  // the same record again
  Merge(names, {"X", "T", "PC", "", "Excel"});
  Merge(names, {"P1", "T", "SRV1", "", "pelnetdata"});
  Merge(names, {"P2", "T", "SRV2", "", "PelnetData"});
  const std::string text = Write(names);
  EXPECT_EQ(names.GetRecord(0).MasterServer, "SRV1") << "the set itself changes";
  EXPECT_EQ(names.GetApplicationName(0), "pelnetdata");
  EXPECT_THAT(text,
              HasSubstr("Source Name:\t\tdummy\n    Application Name:\t\t\\\\SRV1\\pelnetdata"));

  CAccNames two = Parse(
      "Begin DDE Information.\nLast DDE Source:\t0\nBegin DDE Source Definition.\n"
      "Source Name:\tDummy\nApplication Name:\t\\\\NODE1\nTopic Name:\tDummy\nDDE Source ID:\t1\n"
      "1\n0\n1\nBegin DDE Points\nEnd DDE Points\nEnd DDE Source Definition.\n"
      "Begin DDE Source Definition.\nSource Name:\tDUMMY\nApplication Name:\tA\n"
      "Topic Name:\tdummy\nDDE Source ID:\t2\n1\n0\n1\nBegin DDE Points\nEnd DDE Points\n"
      "End DDE Source Definition.\nBegin DDE Source Definition.\nSource Name:\tP\n"
      "Application Name:\t\\\\S\\PelnetData\nTopic Name:\tT\nDDE Source ID:\t3\n1\n0\n1\n"
      "Begin DDE Points\nEnd DDE Points\nEnd DDE Source Definition.\nEnd DDE Information.\n");
  EXPECT_THAT(Write(two),
              HasSubstr("Source Name:\t\tDummy\n    Application Name:\t\t\\\\S\\PelnetData\n"));
  EXPECT_EQ(two.GetApplicationName(1), "A") << "a second placeholder is left alone";

  CAccNames without_pelnet;
  Merge(without_pelnet, {"Dummy", "Dummy", "OLD", "", "View"});
  (void)Write(without_pelnet);
  EXPECT_EQ(without_pelnet.GetRecord(0).MasterServer, "OLD");
}

TEST(WriteDDECfg, DropsTheSecondarySourceOfARedundantProjectAccessNameWithAWarning) {
  CAccNames names = Parse(kGolden);
  Merge(names, {"red", "T", "N1", "N2", "View"});
  ScopedReportCapture capture;
  const std::string text = Write(names);
  EXPECT_THAT(capture.messages(),
              ElementsAre(ReportedMessage{"Access Name: RED overwritten - defined in project as "
                                          "redundant access name",
                                          1, 0},
                          ReportedMessage{"        Created file C:\\APPS\\V1\\DDE.CFG", 0, 0}));
  EXPECT_THAT(text, Not(HasSubstr("Primary Data Source")));
  EXPECT_THAT(text, Not(HasSubstr("Failover")));
  const CAccNames next_build = Parse(text);
  EXPECT_EQ(next_build.GetRecord(0).Secondary, nullptr);
  EXPECT_EQ(next_build.GetRecord(0).Points->size(), 3u);
}

TEST(WriteDDECfg, ReportsOnlyTheFailureWhenTheFileCannotBeReplaced) {
  CAccNames names = Parse(kGolden);
  Merge(names, {"RED", "T", "N1", "N2", "View"});
  Merge(names, {"Dummy", "Dummy", "X", "", "View"});
  Merge(names, {"P", "T", "SRV", "", "PelnetData"});
  ScopedReportCapture capture;
  WriteDDECfg(names, kPath, [](std::string_view) { return Status::IoError("disk full"); });
  EXPECT_THAT(capture.messages(),
              ElementsAre(ReportedMessage{"Failed to create file C:\\APPS\\V1\\DDE.CFG", 2, 1}));
  EXPECT_EQ(names.GetRecord(2).MasterServer, "SRV") << "the placeholder is fixed up before";
}

TEST(DDECfgCanCarry, RefusesWhatTheNextReadWouldRefuseOrMisread) {
  const struct {
    DDECfgField field;
    std::string value;
    bool carried;
  } cases[] = {
      {DDECfgField::kSourceName, "AN 1", true},
      {DDECfgField::kSourceName, " \t", false},
      {DDECfgField::kSourceName, "A\nB", false},
      {DDECfgField::kSourceName, "A\rB", false},
      {DDECfgField::kSourceName, std::string("A\0B", 3), false},
      {DDECfgField::kSourceName, "A\x1a", false},
      {DDECfgField::kTopicName, "", true},
      {DDECfgField::kTopicName, "  ", false},
      {DDECfgField::kMasterServer, "", true},
      {DDECfgField::kMasterServer, "N\\1", false},
      {DDECfgField::kApplicationName, "View", true},
      {DDECfgField::kApplicationName, "", false},
      {DDECfgField::kTagName, "FT:100", true},
      {DDECfgField::kTagName, "FT;100", false},
      {DDECfgField::kTagName, "", false},
      {DDECfgField::kItemName, "a;b:c", true},
      {DDECfgField::kItemName, " ", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DDECfgCanCarry(c.field, c.value), c.carried) << c.value;
  }
}

}  // namespace
}  // namespace quellor
