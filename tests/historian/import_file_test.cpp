#include "historian/import_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>
#include <string>
#include <vector>

#include "base/format.h"
#include "historian/historian_tags.h"
#include "report/report.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {

using testing::AttachedProject;
using testing::ReadFile;
using testing::TempPrefix;
using testing::WriteFile;

// Node NODE1 serves the Pelnet node PN1, whose one block holds every tag of these tests.
constexpr char kTopology[] =
    "INSERT INTO ServerComputerPorts VALUES (1, 'NODE1'), (2, 'NODE2');"
    "INSERT INTO PelnetNodes VALUES ('PN1'), ('PN2');"
    "INSERT INTO ServerComputerPortToNodes VALUES (1, 'PN1'), (2, 'PN2');"
    "INSERT INTO Blocks VALUES (1, 'PN1'), (2, 'PN2');";

constexpr char kFixedBlocks[] =
    ":(Mode)update\r\n"
    ":(IOServer)ComputerName\tApplicationName\tAltComputerName\tIDASComputerName\tProtocolType\r\n"
    "NODE1\tPelnetData\t\t$local\tSuiteLink\r\n"
    ":(Topic)Name\tApplicationName\tComputerName\tTimeOut\tLateData\tIdleDuration\t"
    "ProcessingInterval\r\n"
    "InSQL\tPelnetData\tNODE1\t60000\tNo\t60\t120\r\n";

constexpr char kDiscreteHeader[] =
    ":(DiscreteTag)TagName\tDescription\tIOServerComputerName\tIOServerAppName\tTopicName\t"
    "ItemName\tAcquisitionType\tStorageType\tAcquisitionRate\tTimeDeadband\tSamplesInAI\tAIMode\t"
    "Message0\tMessage1\tInitialValue\tCurrentEditor\tServerTimeStamp\r\n";
constexpr char kAnalogHeader[] =
    ":(AnalogTag)TagName\tDescription\tIOServerComputerName\tIOServerAppName\tTopicName\t"
    "ItemName\tAcquisitionType\tStorageType\tAcquisitionRate\tStorageRate\tTimeDeadband\t"
    "SamplesInAI\tAIMode\tEngUnits\tMinEU\tMaxEU\tMinRaw\tMaxRaw\tScaling\tRawType\t"
    "IntegerSize\tSign\tValueDeadband\tInitialValue\tCurrentEditor\tRateDeadband\t"
    "InterpolationType\tRolloverValue\tServerTimeStamp\tDeadbandType\r\n";
constexpr char kStringHeader[] =
    ":(StringTag)TagName\tDescription\tIOServerComputerName\tIOServerAppName\tTopicName\t"
    "ItemName\tAcquisitionType\tStorageType\tAcquisitionRate\tTimeDeadband\tSamplesInAI\t"
    "MaxLength\tFormat\tInitialValue\tCurrentEditor\tServerTimeStamp\r\n";

std::string DiscreteRow(const std::string& tag, const std::string& desc, const std::string& item) {
  return tag + "\t" + desc + "\tNODE1\tPelnetData\tInSQL\t" + item +
         "\tIOServer\tDelta\t0\t0\t0\tAll\tOFF\tON\t0\t0\tNo\r\n";
}

// An AnalogTag row of type 8 (a float) or, with `raw`, the columns Scaling to Sign given.
std::string AnalogRow(const std::string& tag, const std::string& units, const std::string& lo,
                      const std::string& hi, const std::string& raw = "Linear\tMSFloat\t0\t") {
  return tag + "\tdesc\tNODE1\tPelnetData\tInSQL\t" + tag +
         "\tIOServer\tDelta\t0\t10000\t0\t0\tAll\t" + units + "\t" + lo + "\t" + hi + "\t" + lo +
         "\t" + hi + "\t" + raw + "\t0\t0\t0\t0\tSystem Default\t0\tNo\tTimeValue\r\n";
}

std::string StringRow(const std::string& tag) {
  return tag + "\tdesc\tNODE1\tPelnetData\tInSQL\t" + tag +
         "\tIOServer\tDelta\t0\t0\t0\t512\tUnicode\t\t0\tNo\r\n";
}

class ImportFileTest : public ::testing::Test {
 protected:
  ImportFileTest() : project_(kTopology) {}

  // One logged historian tag row of block `block`; `values` are FieldName to LoRange as SQL.
  void AddTag(const std::string& name, const std::string& values, int block = 1) {
    project_.Run(StringPrintf(
        "INSERT OR IGNORE INTO Tags VALUES ('%s', %d);"
        "INSERT INTO TrendData (TagName, FieldName, SubfieldName, RecordType, FldRenderedType,"
        " FullDesc, Units, HiRange, LoRange, Logged, InTouchTrend, HistorianTrend, Seq)"
        " VALUES ('%s', %s, 1, 0, 1, %d);",
        name.c_str(), block, name.c_str(), values.c_str(), next_seq_++));
  }
  void AddAnalog(const std::string& name, const std::string& units, int type = 8) {
    AddTag(name, StringPrintf("NULL, NULL, 'FldTag', %d, 'desc', %s, 100, 0", type, units.c_str()));
  }

  std::string ProjectDir() const { return project_.dir().path().string(); }
  std::filesystem::path NodeFile(const std::string& node = "NODE1") const {
    return project_.dir().path() / "FactorySuite/Clients/InSApps" / node / "TagImport.txt";
  }
  std::string Build(const std::string& node = "NODE1") {
    const std::string folder = BuildImportFile(ProjectDir() + "\\FactorySuite",
                                               ProjectDir() + "\\FactorySuite\\Clients", node);
    EXPECT_EQ(folder, ProjectDir() + "\\FactorySuite\\Clients\\InSApps\\" + node);
    return ReadFile(NodeFile(node));
  }

  TempPrefix prefix_;
  AttachedProject project_;
  ScopedReportCapture capture_;
  int next_seq_ = 1;
};

TEST_F(ImportFileTest, NodeWithoutLoggedTagsGetsTheFiveFixedLines) {
  AddTag("UNLOGGED", "NULL, NULL, 'FldTag', 1, 'd', NULL, 1, 0");
  project_.Run("UPDATE TrendData SET Logged = 0");
  AddTag("OTHERNODE", "NULL, NULL, 'FldTag', 1, 'd', NULL, 1, 0", 2);
  EXPECT_EQ(Build(), kFixedBlocks);
  EXPECT_THAT(capture_.lines(),
              ::testing::ElementsAre("Creating CSV import file for InSQL node NODE1"));
}

TEST_F(ImportFileTest, DiscreteTagsShareOneHeader) {
  AddTag("D1", "NULL, NULL, 'FldTag', 1, 'first', NULL, 1, 0");
  AddTag("D2", "NULL, NULL, 'FldTag', 1, 'second', NULL, 1, 0");
  AddTag("D3", "NULL, NULL, 'FldTag', 1, NULL, NULL, 1, 0");
  EXPECT_EQ(Build(), std::string(kFixedBlocks) + kDiscreteHeader +
                         DiscreteRow("D1", "first", "D1") + DiscreteRow("D2", "second", "D2") +
                         DiscreteRow("D3", "", "D3"));
}

TEST_F(ImportFileTest, EachAnalogTagWithUnitsDeclaresItsUnitAndANewHeader) {
  AddAnalog("A1", "NULL");
  AddAnalog("A2", "'degC'");
  AddAnalog("A3", "''");
  AddAnalog("A4", "'degC'");
  const std::string unit =
      ":(EngineeringUnit)Unit\tDefaultTagRate\tIntegralDivisor\r\n"
      "degC\t10000\t1\r\n";
  const std::string hundred = "100.000000";
  const std::string zero = "0.000000";
  EXPECT_EQ(Build(), std::string(kFixedBlocks) + kAnalogHeader +
                         AnalogRow("A1", "None", zero, hundred) + unit + kAnalogHeader +
                         AnalogRow("A2", "degC", zero, hundred) +
                         AnalogRow("A3", "None", zero, hundred) + unit + kAnalogHeader +
                         AnalogRow("A4", "degC", zero, hundred));
}

TEST_F(ImportFileTest, RawTypeColumnsFollowTheRenderedType) {
  AddAnalog("T4", "NULL", 4);
  AddAnalog("T7", "NULL", 7);
  AddAnalog("T8", "NULL", 8);
  AddAnalog("T11", "NULL", 11);
  const std::string h = "100.000000";
  const std::string z = "0.000000";
  EXPECT_EQ(Build(), std::string(kFixedBlocks) + kAnalogHeader +
                         AnalogRow("T4", "None", z, h, "None\tInteger\t32\tUnsigned") +
                         AnalogRow("T7", "None", z, h, "None\tInteger\t32\tSigned") +
                         AnalogRow("T8", "None", z, h, "Linear\tMSFloat\t0\t"));
}

TEST_F(ImportFileTest, BlockTagsJoinFieldAndSubfieldFieldTagsDoNot) {
  AddTag("TIC101", "'PV', '', 'BlkTag', 1, 'a', NULL, 1, 0");
  AddTag("TIC101", "'PV', 'HI', 'BlkTag', 1, 'b', NULL, 1, 0");
  AddTag("TIC101", "' ', 'HI', 'BlkTag', 1, 'c', NULL, 1, 0");
  AddTag("FIC7", "'PV', 'HI', 'FldTag', 1, 'd', NULL, 1, 0");
  AddTag("LOWER", "'PV', NULL, 'blktag', 1, 'e', NULL, 1, 0");
  AddTag("NOTYPE", "'PV', NULL, 'BlkTag', NULL, 'f', NULL, 1, 0");
  const std::string rows = Build();
  EXPECT_THAT(rows, ::testing::HasSubstr(DiscreteRow("TIC101\\PV", "a", "TIC101.PV")));
  EXPECT_THAT(rows, ::testing::HasSubstr(DiscreteRow("TIC101\\PV\\HI", "b", "TIC101.PV.HI")));
  EXPECT_THAT(rows, ::testing::HasSubstr(DiscreteRow("TIC101", "c", "TIC101")));
  EXPECT_THAT(rows, ::testing::HasSubstr(DiscreteRow("FIC7", "d", "FIC7")));
  EXPECT_THAT(rows, ::testing::Not(::testing::HasSubstr("LOWER")));
  EXPECT_THAT(rows, ::testing::Not(::testing::HasSubstr("NOTYPE")));
}

TEST_F(ImportFileTest, StringTagsFollowAnalogTagsUnderOneHeader) {
  AddAnalog("A1", "NULL", 2);
  AddTag("S1", "NULL, NULL, 'FldTag', 10, 'desc', NULL, NULL, NULL");
  AddTag("S2", "NULL, NULL, 'FldTag', 10, 'desc', NULL, NULL, NULL");
  EXPECT_EQ(Build(),
            std::string(kFixedBlocks) + kAnalogHeader +
                AnalogRow("A1", "None", "0.000000", "100.000000", "None\tInteger\t16\tUnsigned") +
                kStringHeader + StringRow("S1") + StringRow("S2"));
}

TEST_F(ImportFileTest, RangesAreWrittenWithAPointAndMissingOnesAsZero) {
  AddTag("R1", "NULL, NULL, 'FldTag', 9, 'desc', NULL, 1234.5, -5.5");
  AddTag("R2", "NULL, NULL, 'FldTag', 9, 'desc', NULL, NULL, 'x'");
  EXPECT_EQ(Build(), std::string(kFixedBlocks) + kAnalogHeader +
                         AnalogRow("R1", "None", "-5.500000", "1234.500000") +
                         AnalogRow("R2", "None", "0.000000", "0.000000"));
}

TEST_F(ImportFileTest, TabsAndLineEndsInValuesBecomeBlanks) {
  AddTag("D1",
         "NULL, NULL, 'FldTag', 1, 'two' || char(9) || 'cols' || char(13, 10) || 'x', "
         "NULL, 1, 0");
  EXPECT_EQ(Build(),
            std::string(kFixedBlocks) + kDiscreteHeader + DiscreteRow("D1", "two cols  x", "D1"));
}

TEST_F(ImportFileTest, AValueEndsAtANulAsATextValueDoes) {
  AddTag("D1", "NULL, NULL, 'FldTag', 1, 'kept' || char(9, 0) || 'cut', NULL, 1, 0");
  EXPECT_EQ(Build(),
            std::string(kFixedBlocks) + kDiscreteHeader + DiscreteRow("D1", "kept ", "D1"));
}

TEST_F(ImportFileTest, QuoteInNodeNameCannotChangeTheQuery) {
  AddTag("D1", "NULL, NULL, 'FldTag', 1, 'd', NULL, 1, 0");
  project_.Run(
      "INSERT INTO ServerComputerPorts VALUES (3, 'Q\"N');"
      "INSERT INTO ServerComputerPortToNodes VALUES (3, 'PN1');");
  const std::string file = Build("Q\"N");
  EXPECT_THAT(file, ::testing::HasSubstr("D1\td\tQ\"N\tPelnetData"));
  // A name that would close the literal and add a condition matches no computer.
  EXPECT_THAT(Build("X\") OR (1=1"), ::testing::Not(::testing::HasSubstr("D1")));
}

// The nodes of one build share one read of the rows: each node's file is the one a query of
// that node alone gives, the node's name matched without regard to case, rows of one rendered
// type in the project's order.
TEST_F(ImportFileTest, NodesSharingOneReadGetTheFilesOfTheirOwnQueries) {
  AddTag("B2", "NULL, NULL, 'FldTag', 10, 'b', NULL, NULL, NULL", 2);
  AddTag("A1", "NULL, NULL, 'FldTag', 1, 'a', NULL, 1, 0");
  AddTag("C2", "NULL, NULL, 'FldTag', 1, 'c', NULL, 1, 0", 2);
  AddTag("D1", "NULL, NULL, 'FldTag', 10, 'd', NULL, NULL, NULL");
  AddTag("E1", "NULL, NULL, 'FldTag', 1, 'e', NULL, 1, 0");
  AddTag("F2", "NULL, NULL, 'FldTag', 1, 'f', NULL, 1, 0", 2);
  const std::vector<std::string> nodes = {"NODE2", "node1", "NODE3"};
  std::vector<std::string> alone;
  for (const std::string& node : nodes) alone.push_back(Build(node));
  HistorianTags shared;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    SCOPED_TRACE(nodes[i]);
    BuildImportFile(ProjectDir() + "\\FactorySuite", ProjectDir() + "\\FactorySuite\\Clients",
                    nodes[i], shared);
    EXPECT_EQ(ReadFile(NodeFile(nodes[i])), alone[i]);
  }
  const std::string& node1 = alone[1];
  EXPECT_LT(node1.find("A1\ta\tnode1"), node1.find("E1\te\tnode1"));
  EXPECT_LT(node1.find("E1\te\tnode1"), node1.find("D1\td\tnode1"));
  EXPECT_EQ(node1.find("C2"), std::string::npos);
  EXPECT_THAT(alone[2], ::testing::Not(::testing::HasSubstr(":(D")));
}

TEST_F(ImportFileTest, SecondBuildRecreatesTheSameFile) {
  AddTag("D1", "NULL, NULL, 'FldTag', 1, 'd', NULL, 1, 0");
  const std::string first = Build();
  EXPECT_EQ(Build(), first);
}

TEST_F(ImportFileTest, UnwritableFileIsReportedAndTheOldOneKept) {
  Build();
  AddTag("D1", "NULL, NULL, 'FldTag', 1, 'd', NULL, 1, 0");
  ASSERT_EQ(chmod(NodeFile().c_str(), 0444), 0);
  capture_.Clear();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Build(), kFixedBlocks);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), NodeFile().string() + ": read-only\n");
  const std::string shown = ProjectDir() + "\\FactorySuite\\Clients\\InSApps\\NODE1\\TagImport.txt";
  EXPECT_THAT(
      capture_.messages(),
      ::testing::ElementsAre(ReportedMessage{"Creating CSV import file for InSQL node NODE1", 0, 0},
                             ReportedMessage{"Failed to create file " + shown, 2, 1}));
}

TEST_F(ImportFileTest, ATagQueryThatCannotBePreparedLeavesTheFileAsItWas) {
  std::filesystem::create_directories(NodeFile().parent_path());
  WriteFile(NodeFile(), "the last good import file");
  project_.Run("DROP TABLE ServerComputerPortToNodes");
  for (const char* node : {"NODE1", "NODE2"}) {  // a file that exists, and one that does not
    SCOPED_TRACE(node);
    capture_.Clear();
    BuildImportFile(ProjectDir() + "\\FactorySuite", ProjectDir() + "\\FactorySuite\\Clients",
                    node);
    EXPECT_THAT(
        capture_.messages(),
        ::testing::ElementsAre(
            ReportedMessage{std::string("Creating CSV import file for InSQL node ") + node, 0, 0},
            ReportedMessage{"Failed to prepare query qFTTrdData", 2, 1}));
  }
  EXPECT_EQ(ReadFile(NodeFile()), "the last good import file");
  EXPECT_FALSE(std::filesystem::exists(NodeFile("NODE2")));
}

}  // namespace
}  // namespace quellor
