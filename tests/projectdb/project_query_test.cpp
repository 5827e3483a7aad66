#include "projectdb/project_query.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/automation/conversions.h"
#include "testing/project_database.h"

namespace quellor {
namespace {

TEST(ProjectQuery, ReadsASavedQueryWithTextParametersRowByRowAndByFieldName) {
  testing::AttachedProject project(
      "INSERT INTO PersistentData VALUES ('DeadbandFractionOfRange', 'InTouchTrend', '0.01');");
  QueryParameters parameters(2);
  parameters.SetText(0, "DeadbandFractionOfRange");
  parameters.SetText(1, "InTouchTrend");
  ProjectQuery query = ProjectQuery::Saved("qPersistentData", parameters.get(), 1);
  ASSERT_TRUE(query.ok()) << query.result();
  const std::optional<ProjectRow> row = query.NextRow();
  ASSERT_TRUE(row.has_value());
  ASSERT_NE(row->Column(0), nullptr);
  EXPECT_STREQ(row->Column(0)->bstrVal, "0.01");
  EXPECT_EQ(row->Column(1), nullptr);  // the query has one column
  ScopedVariant value;
  ASSERT_GE(query.GetFieldValueByFieldName(value.get(), "value"), 0);
  EXPECT_EQ(value->vt, VT_BSTR);
  EXPECT_STREQ(value->bstrVal, "0.01");
  EXPECT_FALSE(query.NextRow().has_value());
}

// Columns count from 0 whatever the array's lower bound: column 0 is its element 0, and an
// index below the lower bound or past the last element names no column.
TEST(ProjectRow, FindsAColumnAtItsIndexOnlyInsideTheArraysBounds) {
  struct Case {
    std::int32_t lower_bound;
    std::uint32_t count;
    std::vector<std::size_t> columns;  // indices that name a column
  };
  const Case cases[] = {{0, 3, {0, 1, 2}}, {1, 3, {1, 2, 3}}, {0, 0, {}}, {-2, 1, {}}};
  for (const Case& c : cases) {
    ScopedVariant row;
    row->vt = VT_ARRAY | VT_VARIANT;
    row->parray = SafeArrayCreateVector(VT_VARIANT, c.lower_bound, c.count);
    const ProjectRow view(row.get());
    ASSERT_TRUE(view.has_columns());
    for (std::size_t index : {0u, 1u, 2u, 3u, 4u}) {
      const bool named = std::find(c.columns.begin(), c.columns.end(), index) != c.columns.end();
      const VARIANT* expected =
          named ? SafeArrayElement(row->parray, static_cast<std::int32_t>(index)) : nullptr;
      EXPECT_EQ(view.Column(index), expected) << c.lower_bound << " " << index;
    }
  }
  VARIANT not_an_array{};
  EXPECT_FALSE(ProjectRow(&not_an_array).has_columns());
  EXPECT_EQ(ProjectRow(&not_an_array).Column(0), nullptr);
  EXPECT_EQ(ProjectRow(nullptr).Column(0), nullptr);
}

TEST(AccessStringLiteral, DoublesEveryDoubleQuoteInsideTheQuotes) {
  EXPECT_EQ(AccessStringLiteral("SCADA1"), "\"SCADA1\"");
  EXPECT_EQ(AccessStringLiteral(""), "\"\"");
  EXPECT_EQ(AccessStringLiteral("a\"b\"\""), "\"a\"\"b\"\"\"\"\"");
  EXPECT_EQ(AccessStringLiteral("it's"), "\"it's\"");
}

TEST(ProjectQuery, AMissingSavedQueryIsNotPreparedAndNeedsNoRelease) {
  testing::AttachedProject project;
  const ProjectQuery query = ProjectQuery::Saved("qNoSuchQuery", nullptr, 0);
  EXPECT_FALSE(query.ok());
  EXPECT_LT(query.result(), 0);
}

TEST(ProjectQuery, ExecutesAnActionQueryOnce) {
  testing::AttachedProject project;
  {
    ProjectQuery insert = ProjectQuery::Sql(
        "INSERT INTO AlarmGroupNames (AlarmGroupID, AlarmGroupName) VALUES (5, \"Boilers\")",
        nullptr, 1);
    ASSERT_TRUE(insert.ok());
    EXPECT_GE(insert.Execute(), 0);
  }
  EXPECT_EQ(testing::QueryOne(project.db_path(),
                              "SELECT AlarmGroupName FROM AlarmGroupNames WHERE AlarmGroupID = 5"),
            "Boilers");
}

}  // namespace
}  // namespace quellor
