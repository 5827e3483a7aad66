// The project's tags as one build reads them: the trend rows and each tag's server computer
// are asked of the database once, and later changes to it do not reach the same build.
#include "tagdict/project_tags.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "testing/project_database.h"

namespace quellor {
namespace {

using ::quellor::testing::AttachedProject;

constexpr char kProjectSql[] =
    "INSERT INTO ServerComputerPorts VALUES (1, 'SRV_A');"
    "INSERT INTO ServerComputerPortToNodes VALUES (1, 'NA');"
    "INSERT INTO Blocks VALUES (1, 'NA');"
    "INSERT INTO Tags VALUES ('A1', 1);"
    "INSERT INTO TrendData VALUES "
    "('A1', 'PV', '', '', 'BlkTag', 1, 0, 'Flow', 'm3/h', 100, 0, 1, 1, 0, 1),"
    "('A1', 'SP', '', '', 'BlkTag', 1, 0, 'Flow', 'm3/h', 100, 0, 0, 1, 0, 2),"
    "('H1', '', '', '', 'FldTag', 1, 0, 'Historian only', '', 1, 0, 1, 0, 1, 3);";

TEST(ProjectTags, ReadsTheTrendRowsAndEachServerOnceForTheWholeBuild) {
  const AttachedProject project(kProjectSql);
  ProjectTags tags;
  const auto rows = tags.Rows();
  ASSERT_EQ(rows.size(), 2u);  // the HMI's trend rows only
  EXPECT_EQ(rows[0].TagName, "A1");
  EXPECT_EQ(rows[1].FieldName, "SP");
  EXPECT_EQ(tags.ServerOf("A1"), std::optional<std::string>("SRV_A"));
  EXPECT_EQ(tags.ServerOf("H1"), std::nullopt);

  project.Run("DELETE FROM TrendData; UPDATE ServerComputerPorts SET ServerComputerName = 'X';");
  EXPECT_EQ(tags.Rows().data(), rows.data());
  EXPECT_EQ(tags.Rows().size(), 2u);
  EXPECT_EQ(tags.ServerOf("A1"), std::optional<std::string>("SRV_A"));

  ProjectTags next_build;
  EXPECT_TRUE(next_build.Rows().empty());
  EXPECT_EQ(next_build.ServerOf("A1"), std::optional<std::string>("X"));
}

TEST(ProjectTags, TakesEveryTreesServerFromAQFTTagServerOfTheProjectsOwn) {
  const AttachedProject project(
      std::string(kProjectSql) +
      "INSERT INTO TrendData VALUES "
      "('B1', 'PV', '', '', 'BlkTag', 1, 0, 'Level', 'm', 10, 0, 1, 1, 0, 4);"
      "UPDATE SavedQueries SET Sql = 'SELECT ''OWN '' || ?1 AS ServerComputerName'"
      " WHERE Name = 'qFTTagServer';");
  ProjectTags tags;
  ASSERT_EQ(tags.Rows().size(), 3u);
  EXPECT_EQ(tags.ServerOf("A1"), std::optional<std::string>("OWN A1"));
  EXPECT_EQ(tags.ServerOf("B1"), std::optional<std::string>("OWN B1"));
}

TEST(ProjectTags, GivesNoRowsWhenTheTrendQueryCannotBePrepared) {
  const AttachedProject project(kProjectSql);
  project.Run("DELETE FROM SavedQueries WHERE Name = 'qFTTrdData';");
  ProjectTags tags;
  EXPECT_TRUE(tags.Rows().empty());
}

}  // namespace
}  // namespace quellor
