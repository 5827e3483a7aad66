#include "driver/project_flags.h"

#include <gtest/gtest.h>

#include "projectdb/project_query.h"
#include "report/report.h"
#include "testing/project_database.h"

namespace quellor {
namespace {

const ReportedMessage kNotRequired{"Quellor - is not required for this project type", 0, 0};

TEST(CheckProjectFlags, WantsTheBuildForATrueFlagAndReportsWhyTheQueryFailed) {
  const struct {
    const char* name;
    const char* sql;
    bool wanted;
    std::vector<ReportedMessage> messages;
  } cases[] = {
      {"true", "INSERT INTO ProjectFlags VALUES (1);", true, {}},
      {"false", "INSERT INTO ProjectFlags VALUES (0);", false, {kNotRequired}},
      {"no record", "", false, {{"Query qProjectFlags has no records", 2, 1}, kNotRequired}},
      {"no field",
       "INSERT INTO ProjectFlags VALUES (1);"
       "UPDATE SavedQueries SET Sql = 'SELECT 1 AS Other' WHERE Name = 'qProjectFlags';",
       false,
       {{"Query qProjectFlags has no BuildFSTagBrowseFiles field", 2, 1}, kNotRequired}},
      {"not boolean",
       "UPDATE SavedQueries SET Sql = 'SELECT 1 AS BuildFSTagBrowseFiles'"
       " WHERE Name = 'qProjectFlags';",
       false,
       {{"BuildFSTagBrowseFiles field in Query qProjectFlags is not BOOLEAN", 2, 1}, kNotRequired}},
      {"no query",
       "DELETE FROM SavedQueries WHERE Name = 'qProjectFlags';",
       false,
       {{"Failed to prepare query qProjectFlags", 2, 1}, kNotRequired}},
  };
  for (const auto& c : cases) {
    const testing::AttachedProject project(c.sql);
    const ScopedReportCapture capture;
    EXPECT_EQ(CheckProjectFlags(), c.wanted) << c.name;
    EXPECT_EQ(capture.messages(), c.messages) << c.name;
  }
}

TEST(CheckProjectFlags, LooksOnlyAtTheFirstRecordAndReleasesTheQuery) {
  const testing::AttachedProject project(
      "INSERT INTO ProjectFlags VALUES (0);"
      "INSERT INTO ProjectFlags VALUES (1);");
  const ScopedReportCapture capture;
  EXPECT_FALSE(CheckProjectFlags());
  // A context left open would keep the statement busy; a second gate prepares afresh.
  EXPECT_FALSE(CheckProjectFlags());
  EXPECT_EQ(capture.messages().size(), 2u);
}

}  // namespace
}  // namespace quellor
