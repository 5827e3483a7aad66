#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "apps/client_apps.h"
#include "apps_fixture.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using testing::AppsProject;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::PutFile;
using testing::ReadFile;

constexpr char kAccessNames[] =
    "INSERT INTO AccessNames VALUES"
    " ('AN1', 'T1', 'SCADA1', NULL, 'PelnetData'),"
    " ('AN2', 'T2', 'SCADA1', 'SCADA2', 'PelnetData'),"
    " ('AN3', '', 'OPC1', NULL, 'OPCSrv');"
    "INSERT INTO InTouchAppNames VALUES ('A'), ('B');";

// A client application of a built application: its name and its access names' source names.
struct Client {
  std::string name;
  std::vector<std::string> access_names;
  friend bool operator==(const Client&, const Client&) = default;
};

std::vector<Client> Clients(const CInTApp& app) {
  std::vector<Client> clients;
  for (const ClientApp_T& client : app.ClientList()) {
    Client shown{client.ClientAppName, {}};
    for (const int index : client.AccNameIndices) {
      shown.access_names.push_back(app.AccNames().GetSourceName(index));
    }
    clients.push_back(shown);
  }
  return clients;
}

std::vector<std::string> AppNames(const CClientApps& apps) {
  std::vector<std::string> names;
  for (const auto& app : apps.InTouchApps()) names.push_back(app->InTouchAppName());
  return names;
}

std::vector<std::string> Errors(AppsProject& project) {
  std::vector<std::string> errors;
  for (const ReportedMessage& message : project.capture().messages()) {
    if (message.level == 2) errors.push_back(message.text);
  }
  return errors;
}

class DiscoveryTest : public ::testing::Test {
 protected:
  explicit DiscoveryTest(const std::string& sql = kAccessNames) : project_(sql) {}

  CClientApps Discover(std::optional<std::string_view> filter = {},
                       std::optional<std::string_view> folder = {}) {
    return CClientApps(project_.ProjectDir(), project_.FactorySuiteDir(), project_.ClientsDir(),
                       filter, folder);
  }
  void AddRecords(const std::string& values) {
    project_.Run("INSERT INTO ClientAppAccessNames VALUES " + values);
  }

  AppsProject project_;
};

TEST_F(DiscoveryTest, GroupsRecordsByApplicationThenClientInQueryOrder) {
  project_.SetAppQuery(testing::kAppsBySeq);
  project_.AddExistingApp("A");
  project_.AddExistingApp("B");
  AddRecords(
      "('A','View','AN1',1), ('A','View','AN2',2), ('A','Recipe','AN1',3),"
      " ('B','View','AN3',4), ('B','View','AN3',5)");
  const CClientApps apps = Discover();
  ASSERT_THAT(AppNames(apps), ElementsAre("A", "B"));
  EXPECT_THAT(Clients(*apps.InTouchApps()[0]),
              ElementsAre(Client{"View", {"AN1", "AN2"}}, Client{"Recipe", {"AN1"}}));
  EXPECT_EQ(apps.InTouchApps()[0]->AccNames().GetCount(), 2);
  EXPECT_THAT(Clients(*apps.InTouchApps()[1]), ElementsAre(Client{"View", {"AN3"}}));
  // The build wrote each application's merged access names.
  EXPECT_THAT(ReadFile(project_.AppDir("A") / "DDE.CFG"), ::testing::HasSubstr("AN2"));
  EXPECT_THAT(ReadFile(project_.AppDir("B") / "DDE.CFG"), ::testing::HasSubstr("AN3"));
  EXPECT_THAT(Errors(project_), IsEmpty());
}

TEST_F(DiscoveryTest, NameComingBackLaterStartsASecondApplication) {
  project_.SetAppQuery(testing::kAppsBySeq);
  project_.AddExistingApp("A");
  project_.AddExistingApp("B");
  AddRecords("('A','View','AN1',1), ('B','View','AN2',2), ('A','View','AN3',3)");
  const CClientApps apps = Discover();
  ASSERT_THAT(AppNames(apps), ElementsAre("A", "B", "A"));
  EXPECT_THAT(Clients(*apps.InTouchApps()[2]), ElementsAre(Client{"View", {"AN3"}}));
}

TEST_F(DiscoveryTest, FilterMatchesWithoutCaseAndReadsNoHistorianNode) {
  project_.Run("INSERT INTO InTouchAppNames VALUES ('Unit2')");
  project_.AddExistingApp("Unit2");
  AddRecords("('A','View','AN1',1), ('Unit2','View','AN3',2)");
  const CClientApps apps = Discover("UNIT2");
  EXPECT_THAT(AppNames(apps), ElementsAre("Unit2"));
  EXPECT_THAT(apps.InSQLNodes(), IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(project_.AppDir("A")));
  EXPECT_FALSE(std::filesystem::exists(project_.NodeDir("SCADA1")));
  EXPECT_THAT(project_.capture().lines(),
              ElementsAre("Modifying existing InTouch application Unit2 ",
                          "        No existing Access Name data",
                          "        Created file " + project_.AppPath("Unit2") + "\\Tagnames.NDX",
                          "        File " + project_.AppPath("Unit2") +
                              "\\Tagname.X created with 0 entries (max = 60000)",
                          "        Created file " + project_.AppPath("Unit2") + "\\DDE.CFG"));
}

TEST_F(DiscoveryTest, QueryWithoutRecordsGivesEveryApplicationEveryAccessNameUnderView) {
  project_.AddExistingApp("A");
  project_.AddExistingApp("B");
  const CClientApps apps = Discover();
  ASSERT_THAT(AppNames(apps), ElementsAre("A", "B"));
  for (const auto& app : apps.InTouchApps()) {
    EXPECT_THAT(Clients(*app), ElementsAre(Client{"View", {"AN1", "AN2", "AN3"}}));
  }
}

TEST_F(DiscoveryTest, UnpreparableAppQueryStillBuildsTheHistorianNodes) {
  project_.Run("DELETE FROM SavedQueries WHERE Name = 'qFTInTouchAppData'");
  const CClientApps apps = Discover();
  EXPECT_THAT(apps.InTouchApps(), IsEmpty());
  EXPECT_EQ(project_.capture().messages().front(),
            (ReportedMessage{"Failed to prepare query qFTInTouchAppData", 2, 1}));
  EXPECT_EQ(apps.InSQLNodes().size(), 1U);
}

TEST_F(DiscoveryTest, LockedApplicationStopsDiscoveryButEarlierOnesAreBuilt) {
  project_.SetAppQuery(testing::kAppsBySeq);
  project_.Run("INSERT INTO InTouchAppNames VALUES ('C')");
  for (const char* app : {"A", "B", "C"}) project_.AddExistingApp(app);
  PutFile(project_.AppDir("B") / "appedit.lok", "");
  AddRecords("('A','View','AN1',1), ('B','View','AN1',2), ('C','View','AN1',3)");
  const CClientApps apps = Discover();
  EXPECT_THAT(AppNames(apps), ElementsAre("A"));
  EXPECT_TRUE(std::filesystem::exists(project_.AppDir("A") / "DDE.CFG"));
  EXPECT_FALSE(std::filesystem::exists(project_.AppDir("B") / "DDE.CFG"));
  EXPECT_FALSE(std::filesystem::exists(project_.AppDir("C") / "DDE.CFG"));
  EXPECT_THAT(Errors(project_),
              ElementsAre("InTouch application B appears to be locked (appedit.lok exists) - "
                          "aborting build"));
}

TEST_F(DiscoveryTest, HistorianNodesComeInMasterServerOrderWithTheirAccessNames) {
  project_.Run(
      "INSERT INTO AccessNames VALUES ('P1', '', 'N2', NULL, 'PelnetData'),"
      " ('P2', '', 'N1', NULL, 'PelnetData'), ('P3', '', 'N1', NULL, 'PelnetData');"
      "DELETE FROM AccessNames WHERE AccessName IN ('AN1', 'AN2')");
  const CClientApps apps = Discover();
  ASSERT_EQ(apps.InSQLNodes().size(), 2U);
  const CInSApp& n1 = *apps.InSQLNodes()[0];
  EXPECT_EQ(n1.NodeName(), "N1");
  EXPECT_THAT(n1.AccNameIndices(), ElementsAre(0, 1));
  EXPECT_EQ(n1.AccNames().GetSourceName(1), "P3");
  EXPECT_EQ(apps.InSQLNodes()[1]->NodeName(), "N2");
  EXPECT_TRUE(std::filesystem::exists(project_.NodeDir("N1") / "TagImport.txt"));
  EXPECT_TRUE(std::filesystem::exists(project_.NodeDir("N2") / "TagImport.txt"));
}

// Records straight from a table of the test's own, whose untyped columns pass any value type.
class RecordCheckTest : public DiscoveryTest {
 protected:
  RecordCheckTest()
      : DiscoveryTest(
            "CREATE TABLE Recs (InTouchAppName, ApplicationName, AccessName,"
            " MasterServerComputerName, StandbyServerComputerName, ServerApplication, Topic,"
            " Seq);") {
    project_.SetAppQuery(
        "SELECT InTouchAppName, ApplicationName, AccessName, MasterServerComputerName,"
        " StandbyServerComputerName, ServerApplication, Topic FROM Recs ORDER BY Seq");
  }
};

TEST_F(RecordCheckTest, UnusableRecordsAreReportedAndSkipped) {
  project_.AddExistingApp("Good");
  project_.Run(
      "INSERT INTO Recs VALUES"
      " ('Good', 'View', 'OK1', 'M', NULL, 'Srv', NULL, 1),"  // an empty topic is fine
      " ('Good', 'View', 'NOMASTER', '', 'S', 'Srv', 'T', 2),"
      " ('..', 'View', 'X1', 'M', '', 'Srv', '', 3),"
      " ('a/b', 'View', 'X2', 'M', '', 'Srv', '', 4),"
      " ('C:', 'View', 'X3', 'M', '', 'Srv', '', 5),"
      " ('Good', 'View', '  ', 'M', '', 'Srv', '', 6),"
      " ('Good', 'View', 'X4', 'M', '', 'Srv', 'T' || char(13), 7),"
      " ('Good', 'View', 'X5', 'M', '', ' ', '', 8),"
      " ('Good', 7, 'X6', 'M', '', 'Srv', '', 9),"
      " ('Good', 'View', 'OK2', 'M', NULL, 'Srv', 'T', 10)");
  const CClientApps apps = Discover();
  ASSERT_THAT(AppNames(apps), ElementsAre("Good"));
  EXPECT_THAT(Clients(*apps.InTouchApps()[0]), ElementsAre(Client{"View", {"OK1", "OK2"}}));
  const auto invalid = [](const std::string& values) {
    return "Invalid Access Name data : " + values;
  };
  EXPECT_THAT(
      Errors(project_),
      ElementsAre(
          invalid("Client = Good, App = View, AccName = NOMASTER, MstrServer = , "
                  "StbyServer = S, Topic = T"),
          invalid("Client = .., App = View, AccName = X1, MstrServer = M, StbyServer = , Topic = "),
          invalid(
              "Client = a/b, App = View, AccName = X2, MstrServer = M, StbyServer = , Topic = "),
          invalid("Client = C:, App = View, AccName = X3, MstrServer = M, StbyServer = , Topic = "),
          invalid("Client = Good, App = View, AccName =   , MstrServer = M, StbyServer = , "
                  "Topic = "),
          invalid("Client = Good, App = View, AccName = X4, MstrServer = M, StbyServer = , "
                  "Topic = T\r"),
          invalid("Client = Good, App = View, AccName = X5, MstrServer = M, StbyServer = , "
                  "Topic = "),
          "Query qFTInTouchAppData has invalid record"));
}

}  // namespace
}  // namespace quellor
