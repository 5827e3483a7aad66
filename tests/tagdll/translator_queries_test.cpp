// The translator's queries: joins, subqueries, unions, crosstabs, inserts, parameters, saved
// queries read by others, the names of result columns, and the one line of every refusal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tagdll/translator_fixture.h"

namespace quellor::testing {
namespace {

using tagdll::sql::TextOrigin;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAre;

class TranslatorQueries : public TranslatorFixture {
 protected:
  std::vector<std::string> ColumnNames(const std::string& access_sql) {
    const auto translation = Translate(access_sql);
    EXPECT_TRUE(translation.ok()) << translation.status().message();
    std::vector<std::string> names;
    if (translation.ok()) {
      for (const auto& column : translation->columns) names.push_back(column.name);
    }
    return names;
  }
  std::vector<std::string> Parameters(const std::string& access_sql) {
    const auto translation = Translate(access_sql);
    EXPECT_TRUE(translation.ok()) << translation.status().message();
    return translation.ok() ? translation->parameters : std::vector<std::string>{};
  }
};

TEST_F(TranslatorQueries, JoinsNestAsWrittenInnerLeftAndRight) {
  EXPECT_THAT(Rows("SELECT Categories.CategoryName, Products.ProductName FROM Categories LEFT "
                   "JOIN Products ON (Categories.CategoryID = Products.CategoryID AND "
                   "Products.UnitPrice > 50) ORDER BY Categories.CategoryName"),
              ElementsAre("Beverages|NULL", "Condiments|NULL", "Seafood|Kobe Niku"));
  EXPECT_THAT(Rows("SELECT Customers.CompanyName, Orders.OrderID FROM Customers RIGHT JOIN "
                   "Orders ON (Customers.CustomerID = Orders.CustomerID AND Customers.Country = "
                   "\"france\") WHERE Orders.OrderDate < #4/30/1995# ORDER BY Orders.OrderID"),
              ElementsAre("NULL|10248", "NULL|10400", "Bon app'|10500"));
  EXPECT_THAT(Rows("SELECT Products.ProductName FROM Categories INNER JOIN (Products INNER JOIN "
                   "Suppliers ON Products.SupplierID = Suppliers.SupplierID) ON "
                   "Categories.CategoryID = Products.CategoryID WHERE Suppliers.Country = \"UK\" "
                   "AND Categories.CategoryName = \"condiments\""),
              ElementsAre("Aniseed Syrup"));
  EXPECT_EQ(Rows("SELECT Orders.OrderID FROM Orders, Shippers WHERE Orders.ShipVia = "
                 "Shippers.ShipperID AND Shippers.CompanyName = \"United Package\"")
                .size(),
            2u);
}

TEST_F(TranslatorQueries, SubqueriesAsValuesListsExistenceAndSources) {
  EXPECT_THAT(Rows("SELECT ProductName FROM Products WHERE UnitPrice > (SELECT Avg(UnitPrice) "
                   "FROM Products) ORDER BY UnitPrice"),
              ElementsAre("Ikura", "Kobe Niku"));
  EXPECT_THAT(Rows("SELECT CompanyName FROM Customers WHERE CustomerID In (SELECT CustomerID "
                   "FROM Orders WHERE ShippedDate Is Null)"),
              ElementsAre("Lonesome Pine"));
  EXPECT_THAT(Rows("SELECT c.CompanyName FROM Customers AS c WHERE Exists (SELECT * FROM Orders "
                   "WHERE Orders.CustomerID = c.CustomerID AND Orders.Freight > 100)"),
              ElementsAre("Bon app'"));
  EXPECT_THAT(Rows("SELECT c.CustomerID, (SELECT Count(*) FROM Orders WHERE Orders.CustomerID = "
                   "c.CustomerID) AS n FROM Customers AS c ORDER BY c.CustomerID"),
              ElementsAre("ALFKI|2", "ANATR|2", "BONAP|2", "LONEP|1"));
  EXPECT_THAT(Rows("SELECT t.n FROM (SELECT Count(*) AS n FROM Orders) AS t"), ElementsAre("7"));
  // Jet saves a subquery of a FROM clause as a bracketed name followed by a dot.
  EXPECT_THAT(Rows("SELECT t.n FROM [SELECT Count(*) AS n FROM Orders]. AS t"), ElementsAre("7"));
}

TEST_F(TranslatorQueries, UnionsKeepOrDropDuplicatesAndSortAsAWhole) {
  EXPECT_THAT(Rows("SELECT City FROM Customers UNION SELECT City FROM Suppliers ORDER BY City"),
              ElementsAre("Berlin", "London", "Marseille", "Mexico", "New Orleans", "Portland"));
  EXPECT_EQ(Rows("SELECT City FROM Customers UNION ALL SELECT City FROM Suppliers").size(), 7u);
  EXPECT_THAT(Rows("(SELECT TOP 1 City FROM Customers ORDER BY City) UNION (SELECT City, Null "
                   "FROM Suppliers WHERE Country = \"UK\")"),
              ElementsAre("refused: the selects of a union have different numbers of columns"));
  EXPECT_THAT(Rows("SELECT TOP 1 City FROM Customers ORDER BY City DESC UNION SELECT City FROM "
                   "Suppliers WHERE Country = \"UK\" ORDER BY City DESC"),
              ElementsAre("Portland", "London"));
}

TEST_F(TranslatorQueries, CrosstabsPivotOnFixedHeadingsOrOnTheData) {
  const char* fixed =
      "TRANSFORM Sum(Quantity) AS q SELECT OrderID FROM [Order Details] WHERE OrderID < 10600 "
      "GROUP BY OrderID PIVOT ProductID In (1, 5)";
  EXPECT_THAT(ColumnNames(fixed), ElementsAre("OrderID", "1", "5"));
  EXPECT_THAT(Rows(fixed), ElementsAre("10248|12|10", "10400|NULL|NULL", "10500|NULL|6"));
  // Headings read from the data, a cell without rows empty even for Count.
  const char* from_data =
      "TRANSFORM Count(*) SELECT Orders.CustomerID FROM Orders GROUP BY Orders.CustomerID "
      "PIVOT Orders.ShipVia";
  EXPECT_THAT(ColumnNames(from_data), ElementsAre("CustomerID", "1", "2", "3"));
  EXPECT_THAT(Rows(from_data), ElementsAre("ALFKI|1|NULL|1", "ANATR|NULL|1|1", "BONAP|1|1|NULL",
                                           "LONEP|1|NULL|NULL"));
  EXPECT_THAT(ColumnNames("TRANSFORM Count(*) SELECT Word FROM Words GROUP BY Word PIVOT Size "
                          "> 2"),
              ElementsAre("Word", "<>", "-1", "0"));
  const auto translation = Translate(from_data);
  ASSERT_TRUE(translation.ok());
  EXPECT_TRUE(translation->data_dependent);
}

TEST_F(TranslatorQueries, InsertsRunAndOtherActionQueriesAreRefused) {
  Exec("INSERT INTO AlarmGroupNames VALUES (1, 'G1'), (2, 'G2'), (4, 'G4');");
  const auto insert = Translate(
      "INSERT INTO AlarmGroupNames ( AlarmGroupID, AlarmGroupName ) SELECT MIN(AlarmGroupID+1) "
      "AS minID, \"New\" AS Expr2 FROM AlarmGroupNames WHERE AlarmGroupID+1 NOT IN (SELECT "
      "AlarmGroupID FROM AlarmGroupNames) AND AlarmGroupID+1 BETWEEN 1 AND 255",
      TextOrigin::kProgram);
  ASSERT_TRUE(insert.ok()) << insert.status().message();
  Exec(insert->sql);
  const auto values =
      Translate("INSERT INTO AlarmGroupNames VALUES (9, \"Nine\" & \"!\")", TextOrigin::kProgram);
  ASSERT_TRUE(values.ok()) << values.status().message();
  Exec(values->sql);
  EXPECT_THAT(SqliteRows("SELECT * FROM AlarmGroupNames ORDER BY 1"),
              ElementsAre("1|G1", "2|G2", "3|New", "4|G4", "9|Nine!"));
  EXPECT_THAT(Rows("UPDATE Products SET UnitPrice = 1"),
              ElementsAre("refused: the action query UPDATE is not carried"));
  EXPECT_THAT(Rows("SELECT * INTO Copy FROM Products"),
              ElementsAre("refused: a make-table query (SELECT ... INTO) is not carried"));
}

TEST_F(TranslatorQueries, ParametersAreDeclaredOnesThenOthersInOrderOfFirstUse) {
  const char* text =
      "PARAMETERS [Low] Long; SELECT ProductName FROM Products WHERE (UnitPrice Between [Low] "
      "And [High] AND CategoryID = [Forms]![F]![Cat]) OR ProductName = [high] ORDER BY "
      "ProductName";
  EXPECT_THAT(Parameters(text), ElementsAre("Low", "High", "Forms!F!Cat"));
  EXPECT_THAT(Rows(text, {"15", "20", "1"}), ElementsAre("Chai", "Chang"));
  EXPECT_THAT(Parameters("SELECT [Orders].[Nothing], Orders.OrderID FROM Orders"),
              ElementsAre("Orders.Nothing"));
  // The program's own texts have none but those they declare.
  EXPECT_THAT(Translate("SELECT OrderID FROM Orders WHERE Freight > [Limit]", TextOrigin::kProgram)
                  .status()
                  .message(),
              "[Limit] is no column of the query's sources");
}

TEST_F(TranslatorQueries, SavedQueriesNestWithTheirParametersAfterTheReadersOwn) {
  SaveAccessQuery("qByCategory",
                  "SELECT ProductName, UnitPrice FROM Products WHERE CategoryID = [Category]");
  SaveAccessQuery("qCheap", "SELECT ProductName FROM qByCategory WHERE UnitPrice < [Below]");
  const char* text =
      "PARAMETERS [Below] Double; SELECT ProductName FROM qCheap WHERE ProductName <> [Skip]";
  EXPECT_THAT(Parameters(text), ElementsAre("Below", "Skip", "Category"));
  EXPECT_THAT(Rows(text, {"19", "x", "1"}), ElementsAre("Chai"));
  // A name the reader shares with the query it reads takes the reader's position.
  EXPECT_THAT(Parameters("SELECT ProductName FROM qCheap WHERE ProductName = [Category] OR "
                         "[Below] > 0"),
              ElementsAre("Category", "Below"));
  // An SQLite saved query's own parameters are the statement's.
  Exec(
      "INSERT INTO SavedQueries (Name, Sql) VALUES ('qSince', "
      "'SELECT OrderID, CustomerID FROM Orders WHERE OrderDate >= ?1')");
  EXPECT_THAT(Rows("SELECT Count(*) AS n FROM qSince INNER JOIN Customers ON qSince.CustomerID "
                   "= Customers.CustomerID WHERE Customers.Country = \"mexico\"",
                   {"1996-01-01 00:00:00"}),
              ElementsAre("1"));
  SaveAccessQuery("qLoopA", "SELECT * FROM qLoopB");
  SaveAccessQuery("qLoopB", "SELECT * FROM qLoopA");
  EXPECT_THAT(Rows("SELECT * FROM qLoopA"),
              ElementsAre("refused: in query [qLoopA]: in query [qLoopB]: the saved query "
                          "[qLoopA] reads from itself through the queries it reads"));
}

TEST_F(TranslatorQueries, ResultColumnsAreNamedAsAccessNamesThem) {
  EXPECT_THAT(ColumnNames("SELECT Customers.CompanyName, Shippers.CompanyName, Orders.OrderID "
                          "+ 1, Orders.OrderID AS Id FROM (Customers INNER JOIN Orders ON "
                          "Customers.CustomerID = Orders.CustomerID) INNER JOIN Shippers ON "
                          "Shippers.ShipperID = Orders.ShipVia"),
              ElementsAre("Customers.CompanyName", "Shippers.CompanyName", "Expr1002", "Id"));
  EXPECT_THAT(ColumnNames("SELECT Shippers.*, \"x\" AS Mark FROM Shippers"),
              ElementsAre("ShipperID", "CompanyName", "Phone", "Mark"));
  // An alias is a name for its expression elsewhere in the query.
  EXPECT_THAT(Rows("SELECT UnitPrice * 2 AS Twice, Twice + 1 AS More FROM Products WHERE "
                   "Twice > 100"),
              ElementsAre("194|195"));
}

TEST_F(TranslatorQueries, JetsOwnFormsOfSavedQueriesRead) {
  EXPECT_THAT(Rows("SELECT ProductName FROM Products WHERE UnitPrice > 30 ORDER BY ProductName "
                   "DESCENDING WITH OWNERACCESS OPTION;"),
              ElementsAre("Kobe Niku", "Ikura"));
  EXPECT_THAT(Rows("TABLE Shippers UNION ALL SELECT 9, \"Own\", Null"),
              UnorderedElementsAre("1|Speedy Express|NULL", "2|United Package|NULL",
                                   "3|Federal Shipping|NULL", "9|Own|NULL"));
  EXPECT_THAT(Rows("SELECT [Order Details]![Quantity] FROM [Order Details] WHERE "
                   "[Order Details]![Quantity] > 40"),
              ElementsAre("50"));
}

TEST_F(TranslatorQueries, RefusalsNameTheConstructInOneLine) {
  struct Case {
    const char* access_sql;
    const char* message;
  };
  const Case cases[] = {
      {"DELETE FROM Products", "the action query DELETE is not carried"},
      {"SELECT * FROM Products IN 'other.mdb'",
       "a source in another database (IN '...') is not carried"},
      {"SELECT 1 Eqv 1", "the operator Eqv is not carried"},
      {"SELECT Count(DISTINCT ProductName) FROM Products",
       "DISTINCT inside Count() is not carried"},
      {"SELECT NoSuchFunction(1)", "the function NoSuchFunction() is not carried"},
      {"SELECT ProductName, Count(*) FROM Products",
       "[ProductName] is neither grouped nor aggregated"},
      {"SELECT Sum(Count(*)) FROM Products", "the aggregate Count() inside another"},
      {"SELECT ProductName FROM Products WHERE Sum(UnitPrice) > 1",
       "the aggregate Sum() in a WHERE, ON or GROUP BY"},
      {"SELECT CompanyName FROM Customers, Shippers",
       "[CompanyName] could be a column of Customers or of Shippers"},
      {"SELECT * FROM Nowhere", "no table or query is named [Nowhere]"},
      {"SELECT * FROM Orders, Orders",
       "[Orders] is named twice in FROM: give one of them an alias"},
      {"SELECT x FROM", "syntax error at the end of the text: expected a table or query"},
      {"SELECT \"open", "a text literal is not closed"},
      {"SELECT #13/45/95#",
       "syntax error at #13/45/95#: expected a date the Access way, such as "
       "#12/31/1995#"},
      {"SELECT 1; SELECT 2", "syntax error at 'SELECT': expected one statement only"},
      {"SELECT ((((((((((((((((((((((((((((((((((1))))))))))))))))))))))))))))))))))",
       "nesting deeper than 32 levels is not carried"},
      {"TRANSFORM Sum(Quantity) SELECT OrderID FROM [Order Details] GROUP BY OrderID PIVOT "
       "ProductID In (ProductID)",
       "a PIVOT heading that is not a constant is not carried"},
  };
  for (const Case& c : cases) {
    EXPECT_THAT(Rows(c.access_sql), ElementsAre(std::string("refused: ") + c.message))
        << c.access_sql;
  }
}

}  // namespace
}  // namespace quellor::testing
