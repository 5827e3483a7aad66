// The decoder of saved queries on rows made here: the constructs and query types the two
// real files lack, and rows it must refuse. The real files' queries are in
// saved_query_test.cpp.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tagdll/access/query_decoder.h"
#include "testing/status_matchers.h"

namespace quellor::testing {
namespace {

using namespace tagdll::access;
using Text = std::optional<std::string>;

struct RowFields {
  int attribute;
  Text name1, name2, expression;
  std::optional<int> flag;
  std::optional<std::int32_t> extra;
};

// The rows of a query named "q", each attribute's rows in the order given.
SavedQueryRows Query(std::initializer_list<RowFields> rows, std::int32_t object_flags = 0) {
  SavedQueryRows query{"q", object_flags, {}};
  int order = 0;
  for (const RowFields& row : rows) {
    ++order;
    query.rows.push_back({row.attribute, std::string{'\0', '\0', '\0', static_cast<char>(order)},
                          row.name1, row.name2, row.expression, row.flag, row.extra});
  }
  return query;
}

RowFields Type(int type, Text target = {}) { return {kTypeAttribute, target, {}, {}, type, {}}; }
RowFields Flags(int flags, Text top = {}) { return {kFlagsAttribute, top, {}, {}, flags, {}}; }
RowFields Source(std::string table, Text alias = {}) {
  return {kSourceAttribute, table, alias, {}, {}, {}};
}
RowFields Column(std::string expression, Text alias = {}, std::optional<int> flag = {},
                 Text target = {}) {
  return {kColumnAttribute, alias, target, expression, flag, {}};
}
RowFields Clause(int attribute, std::string expression, Text name1 = {}) {
  return {attribute, name1, {}, expression, {}, {}};
}
RowFields Join(std::string left, std::string right, std::string on, int kind) {
  return {kJoinAttribute, left, right, on, kind, {}};
}

TEST(QueryDecoderTest, DecodesEachConstructAndQueryType) {
  struct Case {
    const char* what;
    SavedQueryRows rows;
    std::string sql;
  } const cases[] = {
      {"DISTINCT, TOP n PERCENT and the owner's access",
       Query({Type(1), Flags(0x02 | 0x04 | 0x10 | 0x20, "5"), Source("Orders"),
              Column("Orders.OrderID"), Clause(kOrderByAttribute, "Orders.Freight", "D")}),
       "SELECT DISTINCT TOP 5 PERCENT Orders.OrderID\r\nFROM Orders\r\n"
       "ORDER BY Orders.Freight DESC\r\nWITH OWNERACCESS OPTION;"},
      {"a left join with two conditions beside a source joined to nothing",
       Query({Flags(0x01), Source("C"), Source("A"), Source("B"), Join("A", "B", "A.x = B.x", 2),
              Join("A", "B", "A.y = B.y", 2)}),
       "SELECT *\r\nFROM C, A LEFT JOIN B ON (A.y = B.y) AND (A.x = B.x);"},
      {"a subquery source in another file, GROUP BY and HAVING",
       Query({{kSourceAttribute, {}, "Sub", "SELECT Id FROM T", {}, {}},
              {kSourceFileAttribute, "C:\\data\\other.mdb", {}, {}, {}, {}},
              Column("Sub.Id"),
              Column("Count(*)", "Number of"),
              Clause(kGroupByAttribute, "Sub.Id"),
              Clause(kHavingAttribute, "Count(*)>1")}),
       "SELECT Sub.Id, Count(*) AS [Number of]\r\n"
       "FROM (SELECT Id FROM T) AS Sub IN 'C:\\data\\other.mdb'\r\n"
       "GROUP BY Sub.Id\r\nHAVING Count(*)>1;"},
      {"parameters in declaration order",
       Query({{kParameterAttribute, "Start", {}, {}, 8, {}},
              {kParameterAttribute, "Forms!Main!Name", {}, {}, 10, 50},
              {kParameterAttribute, "Any", {}, {}, 0, {}},
              Column("[Start]", "S")}),
       "PARAMETERS [Start] DateTime, [Forms]![Main]![Name] Text ( 50 ), [Any] Value;\r\n"
       "SELECT [Start] AS S;"},
      {"make-table",
       Query({Type(2, "Archive"), Source("Orders"), Column("Orders.*"),
              Clause(kWhereAttribute, "Orders.OrderDate<#1/1/95#")}),
       "SELECT Orders.* INTO Archive\r\nFROM Orders\r\nWHERE Orders.OrderDate<#1/1/95#;"},
      {"append of values",
       Query({Type(3, "Log"), Column("1", {}, 0x8000, "Id"), Column("\"x\"", {}, 0x8000, "Text")}),
       "INSERT INTO Log ( Id, [Text] )\r\nVALUES (1, \"x\");"},
      {"append from a select",
       Query({Type(3, "Old Orders"), Source("Orders"), Column("Orders.OrderID", {}, 0, "OrderID")}),
       "INSERT INTO [Old Orders] ( OrderID )\r\nSELECT Orders.OrderID\r\nFROM Orders;"},
      {"update",
       Query({Type(4), Source("Orders"), Column("[Freight]*2", {}, 0, "Orders.Freight"),
              Clause(kWhereAttribute, "Orders.ShipVia=1")}),
       "UPDATE Orders\r\nSET Orders.Freight = [Freight]*2\r\nWHERE Orders.ShipVia=1;"},
      {"delete",
       Query({Type(5), Source("Orders"), Column("Orders.*"),
              Clause(kWhereAttribute, "Orders.ShipVia=3")}),
       "DELETE Orders.*\r\nFROM Orders\r\nWHERE Orders.ShipVia=3;"},
      {"data definition, as stored",
       Query({{kTypeAttribute, {}, {}, "CREATE TABLE T (A TEXT)", 7, {}}}),
       "CREATE TABLE T (A TEXT)"},
      {"UNION ALL, the kind from the catalog",
       Query({{kSourceAttribute, {}, "X7YZ_____1", "SELECT A FROM T\r\n", {}, {}},
              {kSourceAttribute, {}, "X7YZ_____2", "SELECT A FROM U", {}, {}}},
             0x80),
       "SELECT A FROM T\r\nUNION ALL SELECT A FROM U;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Result<DecodedQuery> query = DecodeSavedQuery(c.rows);
    ASSERT_THAT(query, IsOk());
    EXPECT_EQ(query->access_sql, c.sql);
  }
}

TEST(QueryDecoderTest, KeepsDeclaredParameterNamesAsStored) {
  const Result<DecodedQuery> query =
      DecodeSavedQuery(Query({{kParameterAttribute, "Forms!Main!Name", {}, {}, 10, {}},
                              {kParameterAttribute, "Start", {}, {}, 8, {}},
                              Column("1")}));
  ASSERT_THAT(query, IsOk());
  EXPECT_EQ(query->parameters, (std::vector<std::string>{"Forms!Main!Name", "Start"}));
}

TEST(QueryDecoderTest, OrdersEachAttributesRowsByTheirOrderBytes) {
  SavedQueryRows query = Query({Column("b"), Column("a"), Source("T")});
  std::swap(query.rows[0].order, query.rows[1].order);
  EXPECT_EQ(DecodeSavedQuery(query)->access_sql, "SELECT a, b\r\nFROM T;");
}

TEST(QueryDecoderTest, RefusesRowsItCannotDecodeWithTheReason) {
  struct Case {
    SavedQueryRows rows;
    StatusCode code;
    std::string reason;
  } const cases[] = {
      {Query({Source("A"), Column("1"), Join("A", "Z", "A.x = Z.x", 1)}), StatusCode::kCorruption,
       "a join names Z, which is no source of the query"},
      {Query({Source("A"), Source("B"), Column("1"), Join("A", "B", "A.x = B.x", 4)}),
       StatusCode::kCorruption, "a join of an unknown kind"},
      {Query({Column("1"), Clause(kWhereAttribute, "x"), Clause(kWhereAttribute, "y")}),
       StatusCode::kCorruption, "more than one WHERE row"},
      {Query({{kColumnAttribute, "Alias", {}, {}, {}, {}}}), StatusCode::kCorruption,
       "a column row without an expression"},
      {Query({Source("T")}), StatusCode::kCorruption, "a query without output columns"},
      {Query({Flags(0x10), Column("1")}), StatusCode::kCorruption, "TOP without a count"},
      {Query({Type(6), Source("T"), Column("Sum(x)", {}, 0)}), StatusCode::kCorruption,
       "a crosstab query without one value and one column heading"},
      {Query({Type(9), {kSourceAttribute, {}, "X7YZ_____1", "SELECT 1", {}, {}}}),
       StatusCode::kCorruption, "a union query without its part X7YZ_____2"},
      {Query({Type(2), Column("1")}), StatusCode::kCorruption,
       "an action query without its target table"},
      {Query({Type(12)}), StatusCode::kCorruption, "a query type of 12"},
      {Query({{kParameterAttribute, "p", {}, {}, 99, {}}, Column("1")}), StatusCode::kCorruption,
       "a parameter of type 99"},
      {Query({{kTypeAttribute, "ODBC;DSN=x", {}, "SELECT 1", 8, {}}}), StatusCode::kUnsupported,
       "a pass-through query, whose text is another server's SQL"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    EXPECT_THAT(DecodeSavedQuery(c.rows), StatusIs(c.code, c.reason));
  }
}

}  // namespace
}  // namespace quellor::testing
