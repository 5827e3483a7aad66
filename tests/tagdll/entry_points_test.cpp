// The working entry points of libtagdll.so, called as the program calls them: the library
// loaded with the dynamic loader through the program's binding, a project database made from
// schema.sql.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/conversions.h"
#include "tagdll/project_fixture.h"
#include "testing/temp_prefix.h"

namespace quellor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using RowList = std::vector<std::vector<std::string>>;

class EntryPoints : public ProjectFixture {};

TEST_F(EntryPoints, SavedQueryReadsFieldsByNameWithoutRegardToCase) {
  RunSql(db_path(), "INSERT INTO ProjectFlags VALUES (1);");
  OpenQuery query(tdl());
  ASSERT_EQ(tdl().PrepareQuery(query.address(), "qProjectFlags", nullptr, 0, kTdlEnd), kTdlOk);
  ScopedVariant value;
  // No record yet: nothing to read.
  EXPECT_LT(
      tdl().GetFieldValueByFieldName(query.get(), value.get(), "BuildFSTagBrowseFiles", kTdlEnd),
      0);
  ASSERT_EQ(tdl().MoveNext(query.get(), kTdlEnd), kTdlOk);
  ASSERT_EQ(
      tdl().GetFieldValueByFieldName(query.get(), value.get(), "buildfstagbrowsefiles", kTdlEnd),
      kTdlOk);
  EXPECT_EQ(Show(*value.get()), "BOOL:-1");
  EXPECT_LT(tdl().GetFieldValueByFieldName(query.get(), value.get(), "NoSuchField", kTdlEnd), 0);
  EXPECT_LT(tdl().MoveNext(query.get(), kTdlEnd), 0);
  EXPECT_LT(tdl().MoveNext(query.get(), kTdlEnd), 0);  // stays at the end, never starts over
  EXPECT_LT(
      tdl().GetFieldValueByFieldName(query.get(), value.get(), "BuildFSTagBrowseFiles", kTdlEnd),
      0);
}

TEST_F(EntryPoints, PrepareFailsForMissingQueryBadOptionOrBadText) {
  OpenQuery query(tdl());
  EXPECT_LT(tdl().PrepareQuery(query.address(), "qNoSuchQuery", nullptr, 0, kTdlEnd), 0);
  EXPECT_LT(tdl().PrepareQuery(query.address(), "qProjectFlags", nullptr, 2, kTdlEnd), 0);
  EXPECT_LT(tdl().PrepareSQLQuery(query.address(), "SELECT FROM WHERE", nullptr, 0, kTdlEnd), 0);
  EXPECT_LT(tdl().PrepareSQLQuery(query.address(), "SELECT \"open", nullptr, 0, kTdlEnd), 0);
  EXPECT_LT(tdl().PrepareSQLQuery(query.address(), "SELECT 1; SELECT 2", nullptr, 0, kTdlEnd), 0);
  EXPECT_EQ(query.get(), nullptr);
  // Option 1 behaves as 0; saved-query names match without regard to case.
  ASSERT_EQ(tdl().PrepareQuery(query.address(), "QPROJECTFLAGS", nullptr, 1, kTdlEnd), kTdlOk);
  // A context that is already set is not overwritten.
  TdlQueryContext* const first = query.get();
  EXPECT_LT(tdl().PrepareQuery(query.address(), "qProjectFlags", nullptr, 0, kTdlEnd), 0);
  EXPECT_EQ(query.get(), first);
}

TEST_F(EntryPoints, RowsFollowTheSavedQueryOrderWithByteOrderTiebreak) {
  RunSql(db_path(), R"(
      INSERT INTO TrendData (TagName, FieldName, FldRenderedType, HiRange, LoRange, Logged,
                             InTouchTrend, HistorianTrend, Seq) VALUES
        ('abd', NULL, 3, 100, 0, 1, 1, 0, 1),
        ('abc', 'F',  2, 12.5, -1, 0, 1, 0, 1),
        ('ABC', 'F',  2, 1, 0, 1, 1, 1, 2),
        ('zzz', NULL, 1, 1, 0, 1, 0, 1, 1);)");
  ParameterArray parameters(2);  // as the build passes them: false, then true written as 1
  VariantSetBool(parameters.at(0), false);
  parameters.at(1)->vt = VT_BOOL;
  parameters.at(1)->boolVal = 1;
  const RowList rows = SavedQueryRows("qFTTrdData", parameters.get());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_THAT(rows[0], ElementsAre("BSTR:ABC", "BSTR:F", "NULL:", "NULL:", "NULL:", "I2:2",
                                   "NULL:", "NULL:", "NULL:", "R8:1", "R8:0", "BOOL:-1"));
  EXPECT_EQ(rows[1][0], "BSTR:abc");
  EXPECT_EQ(rows[1][9], "R8:12.5");
  EXPECT_EQ(rows[1][11], "BOOL:0");
  EXPECT_EQ(rows[2][0], "BSTR:abd");
}

TEST_F(EntryPoints, SavedQueriesOfThePlantDeliverTheirColumnsInOrder) {
  RunSql(db_path(), R"(
      INSERT INTO AccessNames VALUES ('AN1', 'T1', 'PC1', 'PC9', 'PelnetData');
      INSERT INTO ClientAppAccessNames VALUES
        ('app', 'View', 'AN1', 2), ('App', 'View', 'Gone', 1), ('app', 'Recipe', 'AN1', 1),
        ('App', 'Recipe', 'AN1', 5), ('app', 'View', 'an1', 1);
      INSERT INTO TagFilters VALUES ('g', 'm3', 3), ('G', 'm1', 1), ('G', 'm2', 2);
      INSERT INTO Blocks VALUES (1, 'N1');
      INSERT INTO ServerComputerPorts VALUES (10, 'PC1');
      INSERT INTO ServerComputerPortToNodes VALUES (10, 'N1');
      INSERT INTO Tags VALUES ('FIC101', 1), ('Loose', NULL);)");
  // Names equal but for case stay apart (byte order after the case-blind order); a missing
  // access name arrives with empty server columns.
  EXPECT_THAT(SavedQueryRows("qFTInTouchAppData"),
              ElementsAre(ElementsAre("BSTR:App", "BSTR:Recipe", "BSTR:AN1", "BSTR:PC1", "BSTR:PC9",
                                      "BSTR:PelnetData", "BSTR:T1"),
                          ElementsAre("BSTR:App", "BSTR:View", "BSTR:Gone",
                                      "NULL:", "NULL:", "NULL:", "NULL:"),
                          ElementsAre("BSTR:app", "BSTR:Recipe", "BSTR:AN1", "BSTR:PC1", "BSTR:PC9",
                                      "BSTR:PelnetData", "BSTR:T1"),
                          ElementsAre("BSTR:app", "BSTR:View", "BSTR:an1", "BSTR:PC1", "BSTR:PC9",
                                      "BSTR:PelnetData", "BSTR:T1"),
                          ElementsAre("BSTR:app", "BSTR:View", "BSTR:AN1", "BSTR:PC1", "BSTR:PC9",
                                      "BSTR:PelnetData", "BSTR:T1")));
  EXPECT_THAT(SavedQueryRows("qFTFilter"),
              ElementsAre(ElementsAre("BSTR:G", "BSTR:m1"), ElementsAre("BSTR:G", "BSTR:m2"),
                          ElementsAre("BSTR:g", "BSTR:m3")));
  ParameterArray tag(1);
  ASSERT_TRUE(VariantSetText(tag.at(0), "fic101"));
  EXPECT_THAT(SavedQueryRows("qFTTagServer", tag.get()), ElementsAre(ElementsAre("BSTR:PC1")));
  ASSERT_TRUE(VariantSetText(tag.at(0), "Loose"));
  EXPECT_THAT(SavedQueryRows("qFTTagServer", tag.get()), ::testing::IsEmpty());
}

TEST_F(EntryPoints, ValuesArriveAsTheirDeclaredTypesSay) {
  RunSql(db_path(), R"(
      CREATE TABLE Kinds (b BOOLEAN, s SMALLINT, i INTEGER, d DOUBLE, t TEXT, u);
      INSERT INTO Kinds VALUES (5, -32768, 2147483647, 7, 'x', 3);
      -- A TEXT column stores the number 12 as the text '12'.
      INSERT INTO Kinds VALUES (NULL, 40000, 4294967296, 'n/a', 12, 2.5);
      INSERT INTO Kinds VALUES ('yes', 1.5, -2147483648, 1e300, x'41004243', 'w');)");
  EXPECT_THAT(SqlRows("SELECT b, s, i, d, t, u, i + 1 AS e FROM Kinds"),
              ElementsAre(ElementsAre("BOOL:-1", "I2:-32768", "I4:2147483647", "R8:7", "BSTR:x",
                                      "I4:3", "R8:2147483648"),
                          ElementsAre("NULL:", "I4:40000", "R8:4294967296", "BSTR:n/a", "BSTR:12",
                                      "R8:2.5", "R8:4294967297"),
                          ElementsAre("BSTR:yes", "R8:1.5", "I4:-2147483648", "R8:1e+300", "BSTR:A",
                                      "BSTR:w", "I4:-2147483647")));
}

TEST_F(EntryPoints, BlobArrivesAsTextOfItsBytes) {
  RunSql(db_path(), "CREATE TABLE Raw (v); INSERT INTO Raw VALUES (x'4100FF');");
  OpenQuery query(tdl());
  ASSERT_EQ(tdl().PrepareSQLQuery(query.address(), "SELECT v FROM Raw", nullptr, 0, kTdlEnd),
            kTdlOk);
  VARIANT* row = nullptr;
  ASSERT_EQ(tdl().GetNextRow(query.get(), &row, kTdlEnd), kTdlOk);
  const VARIANT* const value = SafeArrayElement(row->parray, 0);
  ASSERT_EQ(value->vt, VT_BSTR);
  EXPECT_EQ(std::string(value->bstrVal, SysStringByteLen(value->bstrVal)),
            std::string("A\0\xFF", 3));
}

// The library fills each row into the storage of the row before: every value must be the
// row's own whatever the one before it held.
TEST_F(EntryPoints, EachRowHoldsItsOwnValuesWhateverTheRowBeforeHeld) {
  RunSql(db_path(), R"(CREATE TABLE Mixed (n INTEGER, v);
      INSERT INTO Mixed VALUES (1, 'a long first text'), (2, 'short'), (3, NULL), (4, 12),
                               (5, ''), (6, 'longer than every text before');)");
  EXPECT_THAT(SqlRows("SELECT v FROM Mixed ORDER BY n"),
              ElementsAre(ElementsAre("BSTR:a long first text"), ElementsAre("BSTR:short"),
                          ElementsAre("NULL:"), ElementsAre("I4:12"), ElementsAre("BSTR:"),
                          ElementsAre("BSTR:longer than every text before")));
}

TEST_F(EntryPoints, TextTravelsAsWindows1252BothWays) {
  RunSql(db_path(),
         "INSERT INTO PersistentData VALUES ('M\xC3\xBCller \xE2\x82\xAC', 'c', "
         "'\xE2\x82\xAC 5 \xE2\x98\x83');");
  ParameterArray parameters(2);
  ASSERT_TRUE(VariantSetText(parameters.at(0), "m\xFCller \x80"));  // NOCASE: any case
  ASSERT_TRUE(VariantSetText(parameters.at(1), "C"));
  EXPECT_THAT(SavedQueryRows("qPersistentData", parameters.get()),
              ElementsAre(ElementsAre("BSTR:\x80 5 ?")));
  EXPECT_THAT(SqlRows("SELECT \"\xE9t\xE9\" AS v"), ElementsAre(ElementsAre("BSTR:\xE9t\xE9")));
}

TEST_F(EntryPoints, ParametersBindInOrderExtraIgnoredMissingNull) {
  ParameterArray three(3);
  VariantSetI4(three.at(0), 7);
  VariantSetR8(three.at(1), 2.5);
  VariantSetI2(three.at(2), 9);
  EXPECT_THAT(
      SqlRows("PARAMETERS pa Long, pb Double; SELECT pa + 0 AS a, pb + 0 AS b", three.get()),
      ElementsAre(ElementsAre("I4:7", "R8:2.5")));
  ParameterArray one(1);
  VariantSetI4(one.at(0), 1);
  EXPECT_THAT(SqlRows("PARAMETERS pa Long, pb Long; SELECT pa AS a, pb AS b", one.get()),
              ElementsAre(ElementsAre("I4:1", "NULL:")));

  ParameterArray nested(1);
  nested.at(0)->vt = VT_ARRAY | VT_VARIANT;
  nested.at(0)->parray = SafeArrayCreateVector(VT_VARIANT, 0, 1);
  ScopedVariant not_an_array;
  VariantSetI4(not_an_array.get(), 1);
  for (const VARIANT* bad : {nested.get(), static_cast<const VARIANT*>(not_an_array.get())}) {
    OpenQuery query(tdl());
    EXPECT_LT(tdl().PrepareSQLQuery(query.address(), "PARAMETERS pa Long; SELECT pa AS a", bad, 0,
                                    kTdlEnd),
              0);
    EXPECT_EQ(query.get(), nullptr);
  }
}

TEST_F(EntryPoints, DoubleQuotedTextsAreLiteralsEvenWhenTheyNameAColumn) {
  RunSql(db_path(), R"(
      INSERT INTO InTouchAppNames VALUES ('App1');
      INSERT INTO AccessNames VALUES ('AN1', 'T', 'PC1', NULL, 'PelnetData');
      INSERT INTO AccessNames VALUES ('O"NEIL', 'it''s', 'PC2', NULL, 'Other');)");
  // The program's fallback for an empty qFTInTouchAppData.
  EXPECT_THAT(
      SqlRows("SELECT InTouchAppNames.InTouchAppName, \"View\" AS ApplicationName, "
              "AccessNames.AccessName, AccessNames.MasterServerComputerName, "
              "AccessNames.StandbyServerComputerName, AccessNames.ServerApplication, "
              "AccessNames.Topic FROM AccessNames, InTouchAppNames ORDER BY "
              "InTouchAppNames.InTouchAppName"),
      ::testing::UnorderedElementsAre(ElementsAre("BSTR:App1", "BSTR:View", "BSTR:AN1", "BSTR:PC1",
                                                  "NULL:", "BSTR:PelnetData", "BSTR:T"),
                                      ElementsAre("BSTR:App1", "BSTR:View", "BSTR:O\"NEIL",
                                                  "BSTR:PC2", "NULL:", "BSTR:Other", "BSTR:it's")));
  EXPECT_THAT(SqlRows("SELECT \"Topic\" AS t, AccessName FROM AccessNames WHERE AccessName = "
                      "\"O\"\"NEIL\" AND Topic = \"it's\""),
              ElementsAre(ElementsAre("BSTR:Topic", "BSTR:O\"NEIL")));
  // The historian nodes: AccessNames.* after an alias, a literal inside nested parentheses.
  OpenQuery query(tdl());
  ASSERT_EQ(tdl().PrepareSQLQuery(
                query.address(),
                "SELECT AccessNames.MasterServerComputerName AS ComputerName,AccessNames.* FROM "
                "AccessNames WHERE (((AccessNames.ServerApplication)=\"PelnetData\")) ORDER BY "
                "AccessNames.MasterServerComputerName",
                nullptr, 0, kTdlEnd),
            kTdlOk);
  ASSERT_EQ(tdl().MoveNext(query.get(), kTdlEnd), kTdlOk);
  ScopedVariant value;
  for (const char* field : {"ComputerName", "AccessName", "MasterServerComputerName",
                            "StandbyServerComputerName", "Topic", "ServerApplication"}) {
    EXPECT_EQ(tdl().GetFieldValueByFieldName(query.get(), value.get(), field, kTdlEnd), kTdlOk)
        << field;
  }
  EXPECT_LT(tdl().MoveNext(query.get(), kTdlEnd), 0);
}

// The project of the historian import: node N1 on computer PC1 serves block 1; tag c sits on
// a block of another node.
constexpr const char* kHistorianProject = R"(
    INSERT INTO PelnetNodes VALUES ('N1'), ('N2');
    INSERT INTO Blocks VALUES (1, 'N1'), (2, 'N2');
    INSERT INTO ServerComputerPorts VALUES (10, 'PC1'), (20, 'PC2');
    INSERT INTO ServerComputerPortToNodes VALUES (10, 'N1'), (20, 'N2');
    INSERT INTO Tags VALUES ('a', 1), ('b', 1), ('c', 2), ('d', 1);
    INSERT INTO TrendData (TagName, RecordType, FldRenderedType, FullDesc, HiRange, Logged,
                           InTouchTrend, HistorianTrend) VALUES
      ('a', 'AI', 3, 'first', 100, 1, 0, 1),
      ('b', 'DI', 1, 'second', 1, 1, 0, 1),
      ('c', 'AI', 3, 'other node', 1, 1, 0, 1),
      ('d', 'AI', 2, 'trended in the HMI only', 1, 1, 1, 0);)";

std::string HistorianImportSql(const std::string& node) {
  return "SELECT qFTTrdData.TagName, qFTTrdData.FieldName, qFTTrdData.SubfieldName, "
         "qFTTrdData.RecordType, qFTTrdData.FldRenderedType, qFTTrdData.FullDesc, "
         "qFTTrdData.Units, qFTTrdData.HiRange, qFTTrdData.LoRange FROM ServerComputerPorts "
         "INNER JOIN ((PelnetNodes INNER JOIN (Blocks INNER JOIN (qFTTrdData INNER JOIN Tags ON "
         "qFTTrdData.TagName = Tags.TagName) ON Blocks.BlockId = Tags.BlockId) ON "
         "PelnetNodes.NodeName = Blocks.NodeName) INNER JOIN ServerComputerPortToNodes ON "
         "PelnetNodes.NodeName = ServerComputerPortToNodes.NodeName) ON "
         "ServerComputerPorts.ServerComputerPortID = "
         "ServerComputerPortToNodes.ServerComputerPortID "
         "WHERE (((qFTTrdData.Logged)=True) AND ((ServerComputerPorts.ServerComputerName)=\"" +
         node + "\")) ORDER BY qFTTrdData.FldRenderedType";
}

TEST_F(EntryPoints, SavedQueryWithParametersServesAdHocSql) {
  RunSql(db_path(), kHistorianProject);
  ParameterArray parameters(2);
  VariantSetBool(parameters.at(0), true);
  VariantSetBool(parameters.at(1), false);
  EXPECT_THAT(SqlRows(HistorianImportSql("pc1"), parameters.get()),
              ElementsAre(ElementsAre("BSTR:b", "NULL:", "NULL:", "BSTR:DI", "I2:1", "BSTR:second",
                                      "NULL:", "R8:1", "NULL:"),
                          ElementsAre("BSTR:a", "NULL:", "NULL:", "BSTR:AI", "I2:3", "BSTR:first",
                                      "NULL:", "R8:100", "NULL:")));
}

TEST_F(EntryPoints, RedefinedSavedQueryIsSeenAtTheNextPrepare) {
  RunSql(db_path(), kHistorianProject);
  ParameterArray parameters(2);
  VariantSetBool(parameters.at(0), true);
  VariantSetBool(parameters.at(1), false);
  EXPECT_EQ(SqlRows(HistorianImportSql("PC1"), parameters.get()).size(), 2u);
  EXPECT_EQ(SavedQueryRows("qFTTrdData", parameters.get()).size(), 3u);
  RunSql(db_path(), R"(UPDATE SavedQueries SET Sql =
      'SELECT TagName, FieldName, SubfieldName, FixFldName, RecordType, FldRenderedType,
              FixFldRenderedType, FullDesc, Units, HiRange, LoRange, Logged
         FROM TrendData WHERE TagName = ''a'';' WHERE Name = 'qFTTrdData';)");
  EXPECT_EQ(SqlRows(HistorianImportSql("PC1"), parameters.get()).size(), 1u);
  EXPECT_EQ(SavedQueryRows("qFTTrdData", parameters.get()).size(), 1u);
}

// The library keeps the definitions it looked up while the file is unchanged; any change,
// through the attachment itself or another connection, is seen at the next prepare.
TEST_F(EntryPoints, SavedQueryAddedChangedOrRemovedByAnyoneIsSeenAtTheNextPrepare) {
  const auto rows_of_q_one = [this]() -> std::optional<RowList> {
    OpenQuery query(tdl());
    if (tdl().PrepareQuery(query.address(), "qOne", nullptr, 0, kTdlEnd) != kTdlOk) {
      return std::nullopt;
    }
    return Rows(query.get());
  };
  const struct {
    bool by_attachment;  // else by another connection (the attachment carries inserts only)
    const char* sql;
    std::optional<RowList> rows;
  } steps[] = {
      {false, "INSERT INTO SavedQueries (Name, Sql) VALUES ('qOne', 'SELECT 1 AS a')",
       RowList{{"I4:1"}}},
      {false, "UPDATE SavedQueries SET Sql = 'SELECT 2 AS a' WHERE Name = 'qOne'",
       RowList{{"I4:2"}}},
      {false, "DELETE FROM SavedQueries WHERE Name = 'qOne'", std::nullopt},
      {true, "INSERT INTO SavedQueries (Name, Sql) VALUES ('qOne', 'SELECT 3 AS a')",
       RowList{{"I4:3"}}},
  };
  EXPECT_EQ(rows_of_q_one(), std::nullopt);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.sql);
    EXPECT_EQ(rows_of_q_one(), rows_of_q_one());  // the same while nothing changes
    if (step.by_attachment) {
      EXPECT_EQ(ExecuteSql(step.sql), kTdlOk);
    } else {
      RunSql(db_path(), step.sql);
    }
    EXPECT_EQ(rows_of_q_one(), step.rows);
  }
}

// While a query of the program is open, the attachment reads one state of the file: another
// connection's change (possible in WAL mode) is seen at the first prepare after the open
// queries end, and the attachment's own change at once.
TEST_F(EntryPoints, SavedQueryChangedWhileAQueryIsOpenIsSeenWhenTheChangeBecomesVisible) {
  RunSql(db_path(), R"(PRAGMA journal_mode = WAL;
      INSERT INTO ProjectFlags VALUES (0), (1);
      INSERT INTO SavedQueries (Name, Sql) VALUES ('qOne', 'SELECT 1 AS a');)");
  const auto rows_of = [this](const char* name) -> std::optional<RowList> {
    OpenQuery query(tdl());
    if (tdl().PrepareQuery(query.address(), name, nullptr, 0, kTdlEnd) != kTdlOk) {
      return std::nullopt;
    }
    return Rows(query.get());
  };
  // An open query of two rows, positioned on its first: its read lasts until its release.
  const auto open_reader = [this](OpenQuery& reader) {
    ASSERT_EQ(tdl().PrepareQuery(reader.address(), "qProjectFlags", nullptr, 0, kTdlEnd), kTdlOk);
    ASSERT_EQ(tdl().MoveNext(reader.get(), kTdlEnd), kTdlOk);
  };
  {
    OpenQuery reader(tdl());
    open_reader(reader);
    EXPECT_EQ(rows_of("qTwo"), std::nullopt);
    EXPECT_EQ(ExecuteSql("INSERT INTO SavedQueries (Name, Sql) VALUES ('qTwo', 'SELECT 5 AS b')"),
              kTdlOk);
    EXPECT_EQ(rows_of("qTwo"), (RowList{{"I4:5"}}));
    EXPECT_EQ(rows_of("qOne"), (RowList{{"I4:1"}}));
    RunSql(db_path(), "UPDATE SavedQueries SET Sql = 'SELECT 2 AS a' WHERE Name = 'qOne'");
    EXPECT_EQ(rows_of("qOne"), (RowList{{"I4:1"}}));  // the open read's state
  }
  EXPECT_EQ(rows_of("qOne"), (RowList{{"I4:2"}}));
  // A change made between two open reads is seen inside the second.
  RunSql(db_path(), "UPDATE SavedQueries SET Sql = 'SELECT 3 AS a' WHERE Name = 'qOne'");
  OpenQuery reader(tdl());
  open_reader(reader);
  EXPECT_EQ(rows_of("qOne"), (RowList{{"I4:3"}}));
}

TEST_F(EntryPoints, SavedQueriesJoinATextsOwnSubqueries) {
  RunSql(db_path(), "INSERT INTO TagFilters VALUES ('G', 'm1', 1), ('G', 'm2', 2);");
  EXPECT_THAT(SqlRows("SELECT Count(*) AS n, Max(x.v) AS v FROM (SELECT 2 AS v) AS x, qFTFilter"),
              ElementsAre(ElementsAre("I4:2", "I2:2")));
  EXPECT_THAT(SqlRows("SELECT MemberName FROM qFTFilter, (SELECT 1 AS v) AS x "
                      "WHERE MemberName = \"m2\""),
              ElementsAre(ElementsAre("BSTR:m2")));
}

TEST_F(EntryPoints, FieldsReadByNameFromTheRowGetNextRowPositioned) {
  RunSql(db_path(), "INSERT INTO PersistentData VALUES ('Deadband', 'Trend', '0.25');");
  ParameterArray parameters(2);
  ASSERT_TRUE(VariantSetText(parameters.at(0), "Deadband"));
  ASSERT_TRUE(VariantSetText(parameters.at(1), "Trend"));
  OpenQuery query(tdl());
  ASSERT_EQ(tdl().PrepareQuery(query.address(), "qPersistentData", parameters.get(), 1, kTdlEnd),
            kTdlOk);
  VARIANT* row = nullptr;
  ASSERT_EQ(tdl().GetNextRow(query.get(), &row, kTdlEnd), kTdlOk);
  ScopedVariant value;
  ASSERT_TRUE(VariantSetText(value.get(), "replaced"));  // a caller's old value is freed
  ASSERT_EQ(tdl().GetFieldValueByFieldName(query.get(), value.get(), "VALUE", kTdlEnd), kTdlOk);
  EXPECT_EQ(Show(*value.get()), "BSTR:0.25");
  EXPECT_LT(tdl().GetNextRow(query.get(), &row, kTdlEnd), 0);
}

TEST_F(EntryPoints, ExecuteRunsInsertsAndChecksRefuseBadValues) {
  EXPECT_EQ(ExecuteSql("INSERT INTO TrendData (TagName, Logged) VALUES (\"t1\", True)"), kTdlOk);
  EXPECT_LT(ExecuteSql("INSERT INTO TrendData (TagName, Logged) VALUES (\"t2\", \"yes\")"), 0);
  EXPECT_LT(ExecuteSql("INSERT INTO TrendData (TagName, Logged) VALUES (\"t3\", 2)"), 0);
  EXPECT_EQ(QueryOne(db_path(), "SELECT group_concat(TagName || '=' || Logged) FROM TrendData"),
            "t1=1");
}

TEST_F(EntryPoints, AlarmGroupInsertTakesTheLowestFreeIdAboveAnExistingOne) {
  struct Case {
    const char* existing;  // SQL values for AlarmGroupNames, or ""
    bool executes;
    const char* ids_after;
  };
  const Case cases[] = {
      {"", false, "NULL"},  // nothing to count up from: the NULL id is refused
      {"(1, 'G1')", true, "1,2"},
      {"(1, 'G1'), (2, 'G2'), (4, 'G4')", true, "1,2,3,4"},
      {"(255, 'Last')", false, "255"},
  };
  for (const Case& c : cases) {
    RunSql(db_path(),
           std::string("DELETE FROM AlarmGroupNames;") +
               (*c.existing != '\0'
                    ? std::string("INSERT INTO AlarmGroupNames VALUES ") + c.existing + ";"
                    : std::string()));
    const std::int32_t executed = ExecuteSql(
        "INSERT INTO AlarmGroupNames ( AlarmGroupID, AlarmGroupName ) SELECT "
        "MIN(AlarmGroupID+1) AS minID, \"New\" AS Expr2 FROM AlarmGroupNames WHERE "
        "AlarmGroupID+1 NOT IN (SELECT AlarmGroupID FROM AlarmGroupNames) AND AlarmGroupID+1 "
        "BETWEEN 1 AND 255");
    EXPECT_EQ(executed == kTdlOk, c.executes) << c.existing;
    EXPECT_EQ(QueryOne(db_path(),
                       "SELECT group_concat(AlarmGroupID) FROM (SELECT AlarmGroupID "
                       "FROM AlarmGroupNames ORDER BY AlarmGroupID)"),
              c.ids_after)
        << c.existing;
  }
  // A full table (1 to 255) takes nothing more.
  RunSql(db_path(),
         "DELETE FROM AlarmGroupNames; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
         "SELECT i + 1 FROM n WHERE i < 255) INSERT INTO AlarmGroupNames SELECT i, "
         "'G' || i FROM n;");
  EXPECT_LT(ExecuteSql("INSERT INTO AlarmGroupNames ( AlarmGroupID, AlarmGroupName ) SELECT "
                       "MIN(AlarmGroupID+1) AS minID, \"Full\" AS Expr2 FROM AlarmGroupNames "
                       "WHERE AlarmGroupID+1 NOT IN (SELECT AlarmGroupID FROM AlarmGroupNames) "
                       "AND AlarmGroupID+1 BETWEEN 1 AND 255"),
            0);
  EXPECT_EQ(QueryOne(db_path(), "SELECT count(*) FROM AlarmGroupNames"), "255");
}

// A saved query prepared again takes the statement its last context gave back: it must answer
// for the new parameters, and for the table as it is now, whoever changed its columns.
TEST_F(EntryPoints, AStatementUsedAgainAnswersForNewParametersAndANewSchema) {
  RunSql(db_path(), R"(CREATE TABLE Extra (a INTEGER);
      INSERT INTO Extra VALUES (1), (2);
      INSERT INTO SavedQueries (Name, Sql) VALUES ('qAbove', 'SELECT * FROM Extra WHERE a > ?1');)");
  const auto rows_above = [this](std::int32_t floor) {
    ParameterArray parameters(1);
    VariantSetI4(parameters.at(0), floor);
    return SavedQueryRows("qAbove", parameters.get());
  };
  EXPECT_EQ(rows_above(0), (RowList{{"I4:1"}, {"I4:2"}}));
  EXPECT_EQ(rows_above(1), (RowList{{"I4:2"}}));
  EXPECT_EQ(rows_above(2), RowList{});
  // A parameter the prepare does not give is NULL, whatever the last prepare bound.
  EXPECT_EQ(rows_above(0).size(), 2u);
  EXPECT_EQ(SavedQueryRows("qAbove", ParameterArray(0).get()), RowList{});
  EXPECT_EQ(rows_above(0).size(), 2u);
  EXPECT_EQ(SavedQueryRows("qAbove"), RowList{});
  const struct {
    bool by_attachment;  // else by another connection
    const char* sql;
    RowList rows;
  } changes[] = {
      {false, "ALTER TABLE Extra ADD COLUMN b TEXT DEFAULT 'x'", {{"I4:2", "BSTR:x"}}},
      {true, "INSERT INTO Extra VALUES (3, 'y')", {{"I4:2", "BSTR:x"}, {"I4:3", "BSTR:y"}}},
      {false, "ALTER TABLE Extra DROP COLUMN b", {{"I4:2"}, {"I4:3"}}},
  };
  for (const auto& change : changes) {
    SCOPED_TRACE(change.sql);
    if (change.by_attachment) {
      EXPECT_EQ(ExecuteSql(change.sql), kTdlOk);
    } else {
      RunSql(db_path(), change.sql);
    }
    EXPECT_EQ(rows_above(1), change.rows);
  }
  // The columns' names are read afresh too.
  RunSql(db_path(), R"(DROP TABLE Extra; CREATE TABLE Extra (n TEXT, a INTEGER);
      INSERT INTO Extra VALUES ('z', 4);)");
  OpenQuery query(tdl());
  ParameterArray parameters(1);
  VariantSetI4(parameters.at(0), 1);
  ASSERT_EQ(tdl().PrepareQuery(query.address(), "qAbove", parameters.get(), 0, kTdlEnd), kTdlOk);
  ASSERT_EQ(tdl().MoveNext(query.get(), kTdlEnd), kTdlOk);
  ScopedVariant value;
  ASSERT_EQ(tdl().GetFieldValueByFieldName(query.get(), value.get(), "N", kTdlEnd), kTdlOk);
  EXPECT_EQ(Show(*value.get()), "BSTR:z");
  ASSERT_EQ(tdl().GetFieldValueByFieldName(query.get(), value.get(), "a", kTdlEnd), kTdlOk);
  EXPECT_EQ(Show(*value.get()), "I4:4");
}

TEST_F(EntryPoints, OpenContextsOfOneTextEachGetTheirOwnStatement) {
  RunSql(db_path(), "INSERT INTO TagFilters VALUES ('G', 'm1', 1), ('G', 'm2', 2);");
  OpenQuery first(tdl());
  OpenQuery second(tdl());
  ASSERT_EQ(tdl().PrepareQuery(first.address(), "qFTFilter", nullptr, 0, kTdlEnd), kTdlOk);
  ASSERT_EQ(tdl().MoveNext(first.get(), kTdlEnd), kTdlOk);
  ASSERT_EQ(tdl().PrepareQuery(second.address(), "qFTFilter", nullptr, 0, kTdlEnd), kTdlOk);
  EXPECT_EQ(Rows(second.get()).size(), 2u);
  EXPECT_EQ(Rows(first.get()).size(), 1u);  // the first kept its place
  // A released context's statement is reset: the next prepare starts at the first row.
  TdlQueryContext* released = first.get();
  ASSERT_EQ(tdl().ReleaseQueryContext(first.address(), kTdlEnd), kTdlOk);
  EXPECT_EQ(first.get(), nullptr);
  // Its handle is refused from then on.
  EXPECT_LT(tdl().MoveNext(released, kTdlEnd), 0);
  EXPECT_LT(tdl().ReleaseQueryContext(&released, kTdlEnd), 0);
  EXPECT_EQ(SavedQueryRows("qFTFilter").size(), 2u);
}

TEST_F(EntryPoints, ReleaseFreesOpenContextsAndRefusesStaleOnes) {
  TdlQueryContext* context = nullptr;
  ASSERT_EQ(tdl().PrepareQuery(&context, "qFTFilter", nullptr, 0, kTdlEnd), kTdlOk);
  const TdlEntryPoints entry_points = tdl();
  // A second attach while attached is refused.
  ::testing::internal::CaptureStderr();
  EXPECT_LT(entry_points.Attach(db_path().c_str(), kTdlEnd), 0);
  EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("already attached"));
  EXPECT_EQ(entry_points.Release(), kTdlOk);  // frees the open context too
  EXPECT_LT(entry_points.Release(), 0);
  EXPECT_LT(entry_points.MoveNext(context, kTdlEnd), 0);
  EXPECT_LT(entry_points.ReleaseQueryContext(&context, kTdlEnd), 0);
  ASSERT_EQ(entry_points.Attach(db_path().c_str(), kTdlEnd), kTdlOk);  // attach again for teardown
}

struct AttachCase {
  const char* name;
  std::string bytes;  // the file's content; "-" for no file
  const char* message;
};

TEST(Attach, RefusesFilesThatAreNotSqliteProjectDatabases) {
  const AttachCase cases[] = {
      {"missing", "-", "cannot be opened"},
      {"empty", "", "is not an SQLite project database"},
      {"text", "Not a database at all", "is not an SQLite project database"},
      {"access", std::string("\0\1\0\0Standard Jet DB\0", 20),
       "Project.mdb cannot be read: it is truncated"},
      {"access 2007", std::string("\0\1\0\0Standard ACE DB\0", 20),
       "Project.mdb cannot be read: it is truncated"},
      {"damaged", std::string("SQLite format 3\0", 16) + std::string(200, '\xEE'),
       "not a readable SQLite project database"},
  };
  const TempPrefix machine;  // where an Access file's image would be kept
  for (const AttachCase& c : cases) {
    TempDir dir;
    const std::filesystem::path path = dir.path() / "Project.mdb";
    if (c.bytes != "-") WriteFile(path, c.bytes);
    ProjectDb db(BinaryPath("libtagdll.so").string());
    ::testing::internal::CaptureStderr();
    EXPECT_LT(db.AttachProjectDb(path.c_str()), 0) << c.name;
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(err, HasSubstr(c.message)) << c.name;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.name;
    EXPECT_FALSE(db.loaded()) << c.name;
    EXPECT_EQ(std::filesystem::exists(path), c.bytes != "-") << c.name;  // never created
  }
}

TEST(Attach, TakesTheProgramsPathWithBackslashesAndWindows1252Names) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "Pl\xC3\xA4nt");  // "Plänt" on the host
  CreateProjectDatabase(dir.path() / "Pl\xC3\xA4nt" / "Project.mdb",
                        "INSERT INTO ProjectFlags VALUES (0);");
  const std::string program_path = dir.path().string() + "\\Pl\xE4nt\\Project.mdb";
  ProjectDb db(BinaryPath("libtagdll.so").string());
  ASSERT_EQ(db.AttachProjectDb(program_path.c_str()), kTdlOk);
  EXPECT_EQ(db.ReleaseProjectDb(), kTdlOk);
}

TEST(Attach, FindsTheDatabaseThroughTheMachinesDriveLettersWithoutRegardToCase) {
  TempPrefix prefix;
  TempDir plant;
  std::filesystem::create_directories(plant.path() / "Projects" / "Plant");
  CreateProjectDatabase(plant.path() / "Projects" / "Plant" / "Project.mdb");
  prefix.MapDrive('C', plant.path());
  ProjectDb db(BinaryPath("libtagdll.so").string());
  // The command line is upper-cased, so the folders arrive in capitals.
  ASSERT_EQ(db.AttachProjectDb("C:\\PROJECTS\\PLANT\\Project.mdb"), kTdlOk);
  EXPECT_EQ(db.ReleaseProjectDb(), kTdlOk);
  EXPECT_LT(db.AttachProjectDb("D:\\PROJECTS\\PLANT\\Project.mdb"), 0);  // D: is not mapped
}

}  // namespace
}  // namespace quellor::testing

namespace quellor::testing {
namespace {

std::string AlarmGroupCount(const TdlEntryPoints& tdl) {
  OpenQuery count(tdl);
  EXPECT_EQ(tdl.PrepareSQLQuery(count.address(), "SELECT COUNT(*) AS N FROM AlarmGroupNames",
                                nullptr, 0, kTdlEnd),
            kTdlOk);
  EXPECT_EQ(tdl.MoveNext(count.get(), kTdlEnd), kTdlOk);
  ScopedVariant value;
  EXPECT_EQ(tdl.GetFieldValueByFieldName(count.get(), value.get(), "N", kTdlEnd), kTdlOk);
  return Show(*value.get());
}

// An attachment begun with tdl_BeginTrans works on the database in memory: its insert is seen
// until tdl_Rollback, and the file and its folder stay as they were, no journal beside it.
TEST(DiscardedChanges, AnInsertIsSeenUntilTheRollbackAndTheFileStaysAsItWas) {
  TempDir dir;
  const std::filesystem::path db = dir.path() / "Project.mdb";
  CreateProjectDatabase(db, "INSERT INTO AlarmGroupNames VALUES (1, '$System');");
  const std::string bytes = ReadFile(db);
  const auto modified = std::filesystem::last_write_time(db);
  ProjectDb binding(BinaryPath("libtagdll.so").string(), DatabaseChanges::kDiscarded);
  ASSERT_EQ(binding.AttachProjectDb(db.c_str()), kTdlOk);
  const TdlEntryPoints& tdl = binding.tdl();
  {
    OpenQuery insert(tdl);
    ASSERT_EQ(
        tdl.PrepareSQLQuery(insert.address(), "INSERT INTO AlarmGroupNames VALUES (2, \"Plant\")",
                            nullptr, 0, kTdlEnd),
        kTdlOk);
    EXPECT_GE(tdl.Execute(insert.get(), kTdlEnd), 0);
  }
  EXPECT_EQ(AlarmGroupCount(tdl), "I4:2");
  EXPECT_EQ(ReadFile(db), bytes);
  // A transaction begins before the attach only, and is rolled back once.
  EXPECT_EQ(tdl.BeginTrans(kTdlEnd), kTdlFailed);
  EXPECT_EQ(tdl.Rollback(kTdlEnd), kTdlOk);
  EXPECT_EQ(AlarmGroupCount(tdl), "I4:1");
  EXPECT_EQ(tdl.Rollback(kTdlEnd), kTdlFailed);
  EXPECT_EQ(binding.ReleaseProjectDb(), kTdlOk);

  EXPECT_EQ(ReadFile(db), bytes);
  EXPECT_EQ(std::filesystem::last_write_time(db), modified);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_THAT(names, ElementsAre("Project.mdb"));
}

// Inside the transaction of such an attachment its own changes reach no file: a saved query
// it adds is seen all the same, and gone again after the rollback.
TEST(DiscardedChanges, ASavedQueryTheAttachmentAddsIsSeenUntilTheRollback) {
  TempDir dir;
  const std::filesystem::path db = dir.path() / "Project.mdb";
  CreateProjectDatabase(db);
  ProjectDb binding(BinaryPath("libtagdll.so").string(), DatabaseChanges::kDiscarded);
  ASSERT_EQ(binding.AttachProjectDb(db.c_str()), kTdlOk);
  const TdlEntryPoints& tdl = binding.tdl();
  const auto prepares = [&tdl]() {
    OpenQuery query(tdl);
    return tdl.PrepareQuery(query.address(), "qOne", nullptr, 0, kTdlEnd) == kTdlOk;
  };
  EXPECT_FALSE(prepares());
  {
    OpenQuery insert(tdl);
    ASSERT_EQ(
        tdl.PrepareSQLQuery(insert.address(),
                            "INSERT INTO SavedQueries (Name, Sql) VALUES ('qOne', 'SELECT 1 AS a')",
                            nullptr, 0, kTdlEnd),
        kTdlOk);
    EXPECT_GE(tdl.Execute(insert.get(), kTdlEnd), 0);
  }
  EXPECT_TRUE(prepares());
  EXPECT_EQ(tdl.Rollback(kTdlEnd), kTdlOk);
  EXPECT_FALSE(prepares());
  EXPECT_EQ(binding.ReleaseProjectDb(), kTdlOk);
}

}  // namespace
}  // namespace quellor::testing
