// Saved queries in Access SQL, prepared through the library's entry points as the program
// prepares them: their columns typed as Access types them, their parameters positional, their
// translation kept while nothing it was made from changes, and a refusal said once.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/automation/conversions.h"
#include "tagdll/project_fixture.h"

namespace quellor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class AccessSavedQueries : public ProjectFixture {
 protected:
  void Save(const std::string& name, const std::string& access_sql) {
    RunSql(db_path(), "INSERT OR REPLACE INTO SavedQueries (Name, AccessSql) VALUES ('" + name +
                          "', '" + access_sql + "');");
  }
  // What the library says on standard error while `prepare` runs.
  template <typename Prepare>
  std::string ErrorLines(Prepare prepare) {
    ::testing::internal::CaptureStderr();
    prepare();
    return ::testing::internal::GetCapturedStderr();
  }
  std::int32_t Prepare(const char* name) {
    OpenQuery query(tdl());
    return tdl().PrepareQuery(query.address(), name, nullptr, 0, kTdlEnd);
  }
};

TEST_F(AccessSavedQueries, ColumnsReachTheProgramAsAccessTypesThem) {
  RunSql(db_path(), "INSERT INTO ProjectFlags VALUES (1);");
  Save("qKinds",
       "SELECT IIf(BuildFSTagBrowseFiles, True, False) AS Flag, 1 + 1 AS Two, 40000 AS Big, "
       "7 / 2 AS Half, \"x\" & 5 AS Joined, Null AS Nothing, BuildFSTagBrowseFiles * 1 AS "
       "Number FROM ProjectFlags");
  EXPECT_THAT(SavedQueryRows("qKinds"),
              ElementsAre(ElementsAre("BOOL:-1", "I2:2", "I4:40000", "R8:3.5", "BSTR:x5",
                                      "NULL:", "I2:-1")));
}

TEST_F(AccessSavedQueries, ParametersArePositionalInTheirAccessOrder) {
  RunSql(db_path(),
         "INSERT INTO PersistentData VALUES ('Deadband', 'Trend', '0.25'), "
         "('Deadband', 'Alarm', '1');");
  Save("qSetting",
       "PARAMETERS [Setting] Text; SELECT Value FROM PersistentData WHERE Category = "
       "[Forms]![Project]![Category] AND Name = [Setting]");
  ParameterArray parameters(2);
  ASSERT_TRUE(VariantSetText(parameters.at(0), "deadband"));
  ASSERT_TRUE(VariantSetText(parameters.at(1), "ALARM"));
  EXPECT_THAT(SavedQueryRows("qSetting", parameters.get()), ElementsAre(ElementsAre("BSTR:1")));
  EXPECT_EQ(QueryOne(db_path(),
                     "SELECT Parameters IS NULL FROM SavedQueries WHERE Name = "
                     "'qSetting'"),
            "1");  // informative only: the library computes the order again
}

TEST_F(AccessSavedQueries, TheProgramsTextsReadAccessSavedQueries) {
  RunSql(db_path(), "INSERT INTO TagFilters VALUES ('G', 'm1', 1), ('G', 'm2', 2), ('H', 'x', 1);");
  Save("qGroups", "SELECT FilterGroup, Count(*) AS Members FROM TagFilters GROUP BY FilterGroup");
  EXPECT_THAT(SqlRows("SELECT qGroups.FilterGroup FROM qGroups WHERE qGroups.Members > 1"),
              ElementsAre(ElementsAre("BSTR:G")));
}

TEST_F(AccessSavedQueries, ARedefinitionOfTheQueryOrOfOneItReadsIsSeenAtTheNextPrepare) {
  RunSql(db_path(), "INSERT INTO TagFilters VALUES ('G', 'm1', 1), ('G', 'm2', 2);");
  Save("qInner", "SELECT MemberName FROM TagFilters WHERE Seq = 1");
  Save("qOuter", "SELECT MemberName FROM qInner");
  EXPECT_THAT(SavedQueryRows("qOuter"), ElementsAre(ElementsAre("BSTR:m1")));
  Save("qInner", "SELECT MemberName FROM TagFilters WHERE Seq = 2");
  EXPECT_THAT(SavedQueryRows("qOuter"), ElementsAre(ElementsAre("BSTR:m2")));
  Save("qOuter", "SELECT MemberName & \"!\" AS MemberName FROM qInner");
  EXPECT_THAT(SavedQueryRows("qOuter"), ElementsAre(ElementsAre("BSTR:m2!")));
  // An SQLite text in the same row wins over the Access one.
  RunSql(db_path(),
         "UPDATE SavedQueries SET Sql = 'SELECT ''sqlite'' AS MemberName' WHERE "
         "Name = 'qOuter';");
  EXPECT_THAT(SavedQueryRows("qOuter"), ElementsAre(ElementsAre("BSTR:sqlite")));
  // A table that changes shape changes the types of the query over it.
  Save("qTyped", "SELECT Seq + 0 AS v FROM TagFilters WHERE Seq = 1");
  EXPECT_THAT(SavedQueryRows("qTyped"), ElementsAre(ElementsAre("I4:1")));
  RunSql(db_path(),
         "ALTER TABLE TagFilters RENAME TO Old; CREATE TABLE TagFilters "
         "(FilterGroup TEXT, MemberName TEXT, Seq DOUBLE); INSERT INTO TagFilters "
         "SELECT * FROM Old;");
  EXPECT_THAT(SavedQueryRows("qTyped"), ElementsAre(ElementsAre("R8:1")));
}

TEST_F(AccessSavedQueries, AnSqliteQueryThatFailsToPrepareOrStepIsSaidOnce) {
  RunSql(db_path(),
         "INSERT INTO SavedQueries (Name, Sql) VALUES ('qTable', 'SELECT x FROM TrendDatum'), "
         "('qOverflow', 'SELECT abs(-9223372036854775807 - 1) FROM ProjectFlags');"
         "INSERT INTO ProjectFlags VALUES (1);");
  EXPECT_EQ(ErrorLines([&] {
              for (int tag = 0; tag < 3; ++tag) {  // prepared once per tag, said once
                EXPECT_LT(Prepare("qTable"), 0);
                OpenQuery query(tdl());
                ASSERT_EQ(tdl().PrepareQuery(query.address(), "qOverflow", nullptr, 0, kTdlEnd),
                          kTdlOk);
                EXPECT_LT(tdl().MoveNext(query.get(), kTdlEnd), 0);
              }
            }),
            "libtagdll.so: query qTable: no such table: TrendDatum\n"
            "libtagdll.so: query qOverflow: integer overflow\n");
}

TEST_F(AccessSavedQueries, ARefusalIsSaidOnceForEachQueryAndReason) {
  Save("qBad", "SELECT Nothing FROM Nowhere");
  const std::string first = ErrorLines([&] {
    EXPECT_LT(Prepare("qBad"), 0);
    EXPECT_LT(Prepare("QBAD"), 0);
  });
  EXPECT_EQ(first, "libtagdll.so: query qBad: no table or query is named [Nowhere]\n");
  Save("qBad", "UPDATE TagFilters SET Seq = 1");
  EXPECT_EQ(ErrorLines([&] { EXPECT_LT(Prepare("qBad"), 0); }),
            "libtagdll.so: query qBad: the action query UPDATE is not carried\n");
  // A missing query is said, but not one the program does without when a project lacks it.
  EXPECT_EQ(ErrorLines([&] { EXPECT_LT(Prepare("qNoSuchQuery"), 0); }),
            "libtagdll.so: query qNoSuchQuery: there is no saved query of that name\n");
  EXPECT_EQ(ErrorLines([&] {
              RunSql(db_path(), "DELETE FROM SavedQueries WHERE Name = 'qFTTagServer'");
              EXPECT_LT(Prepare("qFTTagServer"), 0);
            }),
            "");
  EXPECT_EQ(ErrorLines([&] {
              OpenQuery query(tdl());
              EXPECT_LT(tdl().PrepareSQLQuery(query.address(), "SELECT [Unknown] AS u", nullptr, 0,
                                              kTdlEnd),
                        0);
            }),
            "libtagdll.so: SQL text \"SELECT [Unknown] AS u\": [Unknown] is no column of the "
            "query's sources\n");
}

TEST_F(AccessSavedQueries, ASavedQueriesTableWithTheTwoOldColumnsKeepsWorking) {
  RunSql(db_path(), R"(
      CREATE TABLE Old AS SELECT Name, Sql FROM SavedQueries WHERE Sql IS NOT NULL;
      DROP TABLE SavedQueries;
      CREATE TABLE SavedQueries (Name TEXT COLLATE NOCASE PRIMARY KEY, Sql TEXT NOT NULL);
      INSERT INTO SavedQueries SELECT * FROM Old;
      INSERT INTO TagFilters VALUES ('G', 'm1', 1);)");
  EXPECT_THAT(SavedQueryRows("qFTFilter"), ElementsAre(ElementsAre("BSTR:G", "BSTR:m1")));
  EXPECT_THAT(SqlRows("SELECT MemberName FROM qFTFilter"), ElementsAre(ElementsAre("BSTR:m1")));
}

TEST_F(AccessSavedQueries, ACrosstabReadsItsHeadingsWithTheParametersOfThePrepare) {
  RunSql(db_path(), "INSERT INTO TagFilters VALUES ('G', 'a', 1), ('G', 'b', 2), ('H', 'c', 2);");
  Save("qBySeq",
       "PARAMETERS [From] Long; TRANSFORM Count(*) SELECT FilterGroup FROM TagFilters WHERE "
       "Seq >= [From] GROUP BY FilterGroup PIVOT MemberName");
  ParameterArray parameters(1);
  VariantSetI4(parameters.at(0), 2);
  EXPECT_THAT(
      SavedQueryRows("qBySeq", parameters.get()),
      ElementsAre(ElementsAre("BSTR:G", "I4:1", "NULL:"), ElementsAre("BSTR:H", "NULL:", "I4:1")));
  VariantSetI4(parameters.at(0), 3);
  EXPECT_THAT(SavedQueryRows("qBySeq", parameters.get()), IsEmpty());
}

}  // namespace
}  // namespace quellor::testing
