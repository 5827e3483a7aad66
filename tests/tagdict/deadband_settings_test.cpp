#include <gtest/gtest.h>

#include <string>

#include "accessnames/acc_names.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

// The deadbands of a dictionary opened with an access-name set on a project holding `sql`.
std::pair<float, float> DeadbandsOf(const std::string& sql) {
  testing::AttachedProject project(sql);
  testing::TempDir dir;
  CAccNames names;
  ScopedReportCapture capture;
  const CTagDict dict(TagDictOptions{.folder = dir.path().string(), .access_names = &names});
  return {dict.DeadbandFraction(), dict.DeadbandAbsolute()};
}

TEST(ReadDeadbandSettings, ScansTheProjectsTextsAndKeepsTheDefaultsForAnythingElse) {
  const std::string fraction =
      "INSERT INTO PersistentData VALUES ('DeadbandFractionOfRange', 'InTouchTrend', ";
  const std::string absolute =
      "INSERT INTO PersistentData VALUES ('DeadbandAbsoluteValue', 'InTouchTrend', ";
  const struct {
    std::string sql;
    float fraction;
    float absolute;
  } cases[] = {
      {"", 0.005f, 1.0f},
      {fraction + "'0.01');" + absolute + "'2.5 units');", 0.01f, 2.5f},
      {fraction + "'abc');" + absolute + "'');", 0.005f, 1.0f},
      {fraction + "'  7e-3');", 0.007f, 1.0f},
      {fraction + "'0.02');", 0.02f, 1.0f},
      {"INSERT INTO PersistentData VALUES ('DeadbandFractionOfRange', 'Other', '0.3');", 0.005f,
       1.0f},
      // A numeric value is no text to scan.
      {"UPDATE SavedQueries SET Sql = 'SELECT 0.5 AS Value' WHERE Name = 'qPersistentData';",
       0.005f, 1.0f},
      {"DELETE FROM SavedQueries WHERE Name = 'qPersistentData';", 0.005f, 1.0f},
  };
  for (const auto& c : cases) {
    const auto [f, a] = DeadbandsOf(c.sql);
    EXPECT_EQ(f, c.fraction) << c.sql;
    EXPECT_EQ(a, c.absolute) << c.sql;
  }
  EXPECT_EQ(std::bit_cast<std::uint32_t>(0.005f), 0x3BA3D70Au);
}

}  // namespace
}  // namespace quellor
