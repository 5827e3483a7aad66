#include "accessnames/acc_names.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "accessnames/dde_cfg.h"
#include "report/report.h"

namespace quellor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

ProjAccName_T Row(std::string name, std::string topic, std::string master, std::string standby,
                  std::string application) {
  return ProjAccName_T{std::move(name), std::move(topic), std::move(master), std::move(standby),
                       std::move(application)};
}

int Merge(CAccNames& names, ProjAccName_T row) {
  int index = -1;
  names.MergeAccessName(row, index);
  return index;
}

CAccNames FromText(std::string_view text) {
  CAccNames names;
  EXPECT_TRUE(ParseDDECfg(text, names));
  return names;
}

TEST(MergeAccessName, GivesAnEmptyTopicItsDefaultByServerApplication) {
  const struct {
    std::string application;
    std::string topic;
  } cases[] = {
      {"View", "Tagname"},
      {"vIEW", "Tagname"},
      {"Excel", "None"},
      {"PelnetData", "SRV1@AN@None"},
      {"pelnetdata", "SRV1@AN@None"},
  };
  for (const auto& c : cases) {
    CAccNames names;
    ProjAccName_T row = Row("AN", "", "SRV1", "", c.application);
    int index = -1;
    names.MergeAccessName(row, index);
    EXPECT_EQ(names.GetTopicName(index), c.topic) << c.application;
    EXPECT_NE(row.Topic, "") << "the row itself takes the default";
  }
}

TEST(MergeAccessName, AppendsNewAccessNamesWithFreshIdsAndDefaultFlags) {
  ScopedReportCapture capture;
  CAccNames names;
  EXPECT_EQ(Merge(names, Row("A", "T", "M", "S", "View")), 0);
  EXPECT_EQ(Merge(names, Row("B", "T", "M", "", "Excel")), 1);
  ASSERT_EQ(names.GetCount(), 2);
  const AccName_T& b = names.GetRecord(1);
  EXPECT_EQ(b.SourceName, "B");
  EXPECT_EQ(b.MasterServer, "M");
  EXPECT_EQ(b.ApplicationName, "Excel");
  EXPECT_EQ(b.DDESourceID, 2);
  EXPECT_EQ(b.RequestInitialData, 1);
  EXPECT_EQ(b.AlwaysAdvise, 0);
  EXPECT_EQ(b.SuiteLink, 1);
  EXPECT_EQ(b.Points, nullptr);
  EXPECT_EQ(b.Secondary, nullptr);
  EXPECT_EQ(names.GetRecord(0).StandbyServer, "S");
  EXPECT_EQ(names.GetLastDDESource(), 2);
  EXPECT_THAT(capture.messages(), IsEmpty());
}

TEST(MergeAccessName, NodeSetMergesNamesThatDifferOnlyInCaseIntoOneRecord) {
  ProjAccName_T first = Row("A", "T", "M", "", "PelnetData");
  int index = -1;
  CAccNames names(first, index);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(Merge(names, Row("a", "T", "M", "", "PelnetData")), 0);
  EXPECT_EQ(names.GetCount(), 1);
  EXPECT_EQ(names.GetLastDDESource(), 1);
}

TEST(MergeAccessName, KeepsTheStoredNameAndReportsEachChangeByIt) {
  CAccNames names = FromText(
      "Begin DDE Information.\nLast DDE Source:\t3\nBegin DDE Source Definition.\n"
      "Source Name:\tPlant\nApplication Name:\t\\\\OLD\\View\nTopic Name:\tT\n"
      "DDE Source ID:\t3\nRequest Initial Data:\t0\nAlways Advise:\t1\nSuiteLink:\t0\n"
      "Begin DDE Points\nTAG1;0001:  I1\nEnd DDE Points\nEnd DDE Source Definition.\n"
      "End DDE Information.\n");
  ScopedReportCapture capture;
  EXPECT_EQ(Merge(names, Row("PLANT", "", "NEW", "STBY", "PelnetData")), 0);
  const AccName_T& record = names.GetRecord(0);
  EXPECT_EQ(record.SourceName, "Plant");
  EXPECT_EQ(record.TopicName, "NEW@PLANT@None") << "built from the project's form of the name";
  EXPECT_EQ(record.StandbyServer, "STBY");
  EXPECT_EQ(record.DDESourceID, 3);
  EXPECT_EQ(record.RequestInitialData, 0);
  EXPECT_EQ(record.AlwaysAdvise, 1);
  EXPECT_EQ(record.SuiteLink, 0);
  ASSERT_NE(record.Points, nullptr);
  EXPECT_EQ(record.Points->size(), 1u);
  // A standby server given to a record that had none is stored without a message.
  EXPECT_THAT(capture.lines(),
              ElementsAre("        Modified Topic for access name Plant",
                          "        Modified Master Server for access name Plant",
                          "        Modified Server Application for access name Plant"));
  EXPECT_EQ(capture.messages()[0].flag, 1);

  capture.Clear();
  EXPECT_EQ(Merge(names, Row("PLANT", "", "NEW", "STBY", "PelnetData")), 0);
  EXPECT_THAT(capture.messages(), IsEmpty()) << "the same row twice changes nothing";

  EXPECT_EQ(Merge(names, Row("plant", "", "NEW", "", "PelnetData")), 0);
  EXPECT_THAT(capture.lines(),
              ElementsAre("        Modified Topic for access name Plant",
                          "        Modified Standby Server for access name Plant"));
}

TEST(MergeAccessName, NewIdsFollowTheHigherOfLastDdeSourceAndTheIdsInTheFile) {
  const struct {
    int last;
    int held;
    int expected;
  } cases[] = {
      {7, 8, 9},    // "Last DDE Source" lags behind an ID of the file
      {7, 3, 8},    // the usual file
      {7, 12, 13},  // far behind
  };
  for (const auto& c : cases) {
    CAccNames names =
        FromText("Begin DDE Information.\nLast DDE Source:\t" + std::to_string(c.last) +
                 "\nBegin DDE Source Definition.\nSource Name:\tOld\nApplication Name:\tView\n"
                 "Topic Name:\tT\nDDE Source ID:\t" +
                 std::to_string(c.held) +
                 "\nRequest Initial Data:\t1\nAlways Advise:\t0\nSuiteLink:\t1\nBegin DDE Points\n"
                 "End DDE Points\nEnd DDE Source Definition.\nEnd DDE Information.\n");
    const int index = Merge(names, Row("New", "T", "M", "", "View"));
    EXPECT_EQ(names.GetRecord(index).DDESourceID, c.expected) << c.held;
    EXPECT_EQ(names.GetLastDDESource(), c.expected);
    EXPECT_EQ(names.GetRecord(Merge(names, Row("Newer", "T", "M", "", "View"))).DDESourceID,
              c.expected + 1);
  }
}

TEST(AccessNameGetters, ReturnCopiesAndLeaveTheIdAloneAboveTheCount) {
  CAccNames names;
  Merge(names, Row("A", "T", "M", "", "View"));
  EXPECT_EQ(names.GetSourceName(0), "A");
  EXPECT_EQ(names.GetTopicName(0), "T");
  EXPECT_EQ(names.GetApplicationName(0), "View");
  int id = 42;
  names.GetSourceID(1, id);
  EXPECT_EQ(id, 42);
  names.GetSourceID(0, id);
  EXPECT_EQ(id, 1);
}

TEST(AccessNameGettersDeathTest, AnIndexOutsideTheSetEndsTheProcess) {
  CAccNames names;
  Merge(names, Row("A", "T", "M", "", "View"));
  int id = 0;
  EXPECT_DEATH((void)names.GetSourceName(1), "outside");
  EXPECT_DEATH((void)names.GetTopicName(-1), "outside");
  EXPECT_DEATH(names.GetSourceID(-1, id), "outside");
  const int negative[] = {-1};
  EXPECT_DEATH(names.SetAlwaysAdvise(negative, 1), "outside");
}

}  // namespace
}  // namespace quellor
