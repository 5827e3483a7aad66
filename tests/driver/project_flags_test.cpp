#include "driver/project_flags.h"

#include <gtest/gtest.h>

#include "projectdb/project_query.h"
#include "report/report.h"
#include "testing/project_database.h"

namespace quellor {
namespace {

const ReportedMessage kNotRequired{"Quellor - is not required for this project type", 0, 0};

TEST(CheckProjectFlags, GivesTheFlagOrReportsWhyTheQueryFailed) {
  const struct {
    const char* name;
    const char* sql;
    int result;
    std::vector<ReportedMessage> messages;
  } cases[] = {
      {"true", "INSERT INTO ProjectFlags VALUES (1);", -1, {}},
      {"false", "INSERT INTO ProjectFlags VALUES (0);", 0, {kNotRequired}},
      {"no record", "", 0, {{"Query qProjectFlags has no records", 2, 1}, kNotRequired}},
      {"no field",
       "INSERT INTO ProjectFlags VALUES (1);"
       "UPDATE SavedQueries SET Sql = 'SELECT 1 AS Other' WHERE Name = 'qProjectFlags';",
       0,
       {{"Query qProjectFlags has no BuildFSTagBrowseFiles field", 2, 1}, kNotRequired}},
      {"not boolean",
       "UPDATE SavedQueries SET Sql = 'SELECT 1 AS BuildFSTagBrowseFiles'"
       " WHERE Name = 'qProjectFlags';",
       0,
       {{"BuildFSTagBrowseFiles field in Query qProjectFlags is not BOOLEAN", 2, 1}, kNotRequired}},
      {"no query",
       "DELETE FROM SavedQueries WHERE Name = 'qProjectFlags';",
       0,
       {{"Failed to prepare query qProjectFlags", 2, 1}, kNotRequired}},
  };
  for (const auto& c : cases) {
    const testing::AttachedProject project(c.sql);
    const ScopedReportCapture capture;
    EXPECT_EQ(CheckProjectFlags(), c.result) << c.name;
    EXPECT_EQ(capture.messages(), c.messages) << c.name;
  }
}

TEST(CheckProjectFlags, LooksOnlyAtTheFirstRecordAndReleasesTheQuery) {
  const testing::AttachedProject project(
      "INSERT INTO ProjectFlags VALUES (0);"
      "INSERT INTO ProjectFlags VALUES (1);");
  const ScopedReportCapture capture;
  EXPECT_EQ(CheckProjectFlags(), 0);
  // A context left open would keep the statement busy; a second gate prepares afresh.
  EXPECT_EQ(CheckProjectFlags(), 0);
  EXPECT_EQ(capture.messages().size(), 2u);
}

}  // namespace
}  // namespace quellor
