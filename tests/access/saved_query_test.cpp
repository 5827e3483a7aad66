// The saved queries of both real files as the import decodes them: the Access SQL of every
// visible query, frozen here after checking it against the query's rows of MSysQueries (the
// order of each attribute's rows, the flags, the nesting of joins). This is the text the
// translator runs.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>

#include "access/access_test_files.h"
#include "access/imported_files.h"
#include "tagdll/access/saved_query_parameters.h"
#include "tagdll/sqlite_handles.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"

namespace quellor::testing {
namespace {

struct FrozenQuery {
  std::string_view file;
  std::string_view name;
  std::string_view access_sql;
  std::string_view parameters;  // one per line; empty for NULL
};

constexpr FrozenQuery kQueries[] = {
    {kNwind, "Alphabetical List of Products",
     "SELECT DISTINCTROW Products.*, Categories.CategoryName\r\n"
     "FROM Categories INNER JOIN Products ON Categories.CategoryID = Products.CategoryID\r\n"
     "WHERE (((Products.Discontinued)=No));",
     ""},
    {kNwind, "Catalog",
     "SELECT DISTINCTROW Categories.CategoryName, Categories.Description, Categories.Picture, "
     "Products.ProductID, Products.ProductName, Products.QuantityPerUnit, Products.UnitPrice\r\n"
     "FROM Categories INNER JOIN Products ON Categories.CategoryID = Products.CategoryID\r\n"
     "WHERE (((Products.Discontinued)=No));",
     ""},
    {kNwind, "Category Sales for 1995",
     "SELECT DISTINCTROW [Product Sales for 1995].CategoryName, Sum([Product Sales for "
     "1995].ProductSales) AS CategorySales\r\n"
     "FROM [Product Sales for 1995]\r\n"
     "GROUP BY [Product Sales for 1995].CategoryName;",
     ""},
    {kNwind, "Current Product List",
     "SELECT [Product List].ProductID, [Product List].ProductName\r\n"
     "FROM Products AS [Product List]\r\n"
     "WHERE ((([Product List].Discontinued)=No))\r\n"
     "ORDER BY [Product List].ProductName;",
     ""},
    {kNwind, "Customers and Suppliers by City",
     "SELECT City, CompanyName, ContactName, \"Customers\" AS [Relationship] \r\n"
     "FROM Customers\r\n"
     "UNION SELECT City, CompanyName, ContactName, \"Suppliers\"\r\n"
     "FROM Suppliers\r\n"
     "ORDER BY City, CompanyName;",
     ""},
    {kNwind, "Employee Sales by Country",
     "PARAMETERS [Beginning Date] DateTime, [Ending Date] DateTime;\r\n"
     "SELECT DISTINCTROW Employees.Country, Employees.LastName, Employees.FirstName, "
     "Orders.ShippedDate, Orders.OrderID, [Order Subtotals].Subtotal AS SaleAmount\r\n"
     "FROM Employees INNER JOIN (Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order "
     "Subtotals].OrderID) ON Employees.EmployeeID = Orders.EmployeeID\r\n"
     "WHERE (((Orders.ShippedDate) Between [Beginning Date] And [Ending Date]));",
     "Beginning Date\nEnding Date"},
    {kNwind, "Invoices",
     "SELECT DISTINCTROW Orders.ShipName, Orders.ShipAddress, Orders.ShipCity, Orders.ShipRegion, "
     "Orders.ShipPostalCode, Orders.ShipCountry, Orders.CustomerID, Customers.CompanyName, "
     "Customers.Address, Customers.City, Customers.Region, Customers.PostalCode, "
     "Customers.Country, [FirstName] & \" \" & [LastName] AS Salesperson, Orders.OrderID, "
     "Orders.OrderDate, Orders.RequiredDate, Orders.ShippedDate, Shippers.CompanyName, [Order "
     "Details].ProductID, Products.ProductName, [Order Details].UnitPrice, [Order "
     "Details].Quantity, [Order Details].Discount, CCur([Order "
     "Details].[UnitPrice]*[Quantity]*(1-[Discount])/100)*100 AS ExtendedPrice, Orders.Freight\r\n"
     "FROM Shippers INNER JOIN (Products INNER JOIN ((Employees INNER JOIN (Customers INNER JOIN "
     "Orders ON Customers.CustomerID = Orders.CustomerID) ON Employees.EmployeeID = "
     "Orders.EmployeeID) INNER JOIN [Order Details] ON Orders.OrderID = [Order Details].OrderID) "
     "ON Products.ProductID = [Order Details].ProductID) ON Shippers.ShipperID = Orders.ShipVia;",
     ""},
    {kNwind, "Invoices Filter",
     "SELECT DISTINCTROW Invoices.*\r\n"
     "FROM Invoices\r\n"
     "WHERE (((Invoices.OrderID)=[Forms]![Orders]![OrderID]));",
     "Forms!Orders!OrderID"},
    {kNwind, "Order Details Extended",
     "SELECT DISTINCTROW [Order Details].OrderID, [Order Details].ProductID, Products.ProductName, "
     "[Order Details].UnitPrice, [Order Details].Quantity, [Order Details].Discount, CCur([Order "
     "Details].[UnitPrice]*[Quantity]*(1-[Discount])/100)*100 AS ExtendedPrice\r\n"
     "FROM Products INNER JOIN [Order Details] ON Products.ProductID = [Order "
     "Details].ProductID\r\n"
     "ORDER BY [Order Details].OrderID;",
     ""},
    {kNwind, "Order Subtotals",
     "SELECT DISTINCTROW [Order Details].OrderID, "
     "Sum(CCur([UnitPrice]*[Quantity]*(1-[Discount])/100)*100) AS Subtotal\r\n"
     "FROM [Order Details]\r\n"
     "GROUP BY [Order Details].OrderID;",
     ""},
    {kNwind, "Orders Qry",
     "SELECT DISTINCTROW Orders.OrderID, Orders.CustomerID, Orders.EmployeeID, Orders.OrderDate, "
     "Orders.RequiredDate, Orders.ShippedDate, Orders.ShipVia, Orders.Freight, Orders.ShipName, "
     "Orders.ShipAddress, Orders.ShipCity, Orders.ShipRegion, Orders.ShipPostalCode, "
     "Orders.ShipCountry, Customers.CompanyName, Customers.Address, Customers.City, "
     "Customers.Region, Customers.PostalCode, Customers.Country\r\n"
     "FROM Customers INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID;",
     ""},
    {kNwind, "Product Sales for 1995",
     "SELECT DISTINCTROW Categories.CategoryName, Products.ProductName, Sum(CCur([Order "
     "Details].[UnitPrice]*[Quantity]*(1-[Discount])/100)*100) AS ProductSales\r\n"
     "FROM (Categories INNER JOIN Products ON Categories.CategoryID = Products.CategoryID) INNER "
     "JOIN (Orders INNER JOIN [Order Details] ON Orders.OrderID = [Order Details].OrderID) ON "
     "Products.ProductID = [Order Details].ProductID\r\n"
     "WHERE (((Orders.ShippedDate) Between #1/1/95# And #12/31/95#))\r\n"
     "GROUP BY Categories.CategoryName, Products.ProductName;",
     ""},
    {kNwind, "Products Above Average Price",
     "SELECT DISTINCTROW Products.ProductName, Products.UnitPrice\r\n"
     "FROM Products\r\n"
     "WHERE (((Products.UnitPrice)>(SELECT AVG([UnitPrice]) From Products)))\r\n"
     "ORDER BY Products.UnitPrice DESC;",
     ""},
    {kNwind, "Products by Category",
     "SELECT DISTINCTROW Categories.CategoryName, Products.ProductName, Products.QuantityPerUnit, "
     "Products.UnitsInStock, Products.Discontinued\r\n"
     "FROM Categories INNER JOIN Products ON Categories.CategoryID = Products.CategoryID\r\n"
     "WHERE (((Products.Discontinued)<>Yes))\r\n"
     "ORDER BY Categories.CategoryName, Products.ProductName;",
     ""},
    {kNwind, "Quarterly Orders",
     "SELECT DISTINCTROW Customers.CustomerID, Customers.CompanyName, Customers.City, "
     "Customers.Country\r\n"
     "FROM Customers RIGHT JOIN Orders ON Customers.CustomerID = Orders.CustomerID\r\n"
     "WHERE (((Orders.OrderDate) Between #1/1/95# And #12/31/95#));",
     ""},
    {kNwind, "Quarterly Orders by Product",
     "TRANSFORM Sum(CCur([Order Details].[UnitPrice]*[Quantity]*(1-[Discount])/100)*100) AS "
     "ProductAmount\r\n"
     "SELECT DISTINCTROW Products.ProductName, Orders.CustomerID, Year([OrderDate]) AS "
     "OrderYear\r\n"
     "FROM Products INNER JOIN (Orders INNER JOIN [Order Details] ON Orders.OrderID = [Order "
     "Details].OrderID) ON Products.ProductID = [Order Details].ProductID\r\n"
     "WHERE (((Orders.OrderDate) Between #1/1/95# And #12/31/95#))\r\n"
     "GROUP BY Products.ProductName, Orders.CustomerID, Year([OrderDate])\r\n"
     "PIVOT \"Qtr \" & DatePart(\"q\",[OrderDate],1,0) In (\"Qtr 1\",\"Qtr 2\",\"Qtr 3\",\"Qtr "
     "4\");",
     ""},
    {kNwind, "Sales by Category",
     "SELECT DISTINCTROW Categories.CategoryID, Categories.CategoryName, Products.ProductName, "
     "Sum([Order Details Extended].ExtendedPrice) AS ProductSales\r\n"
     "FROM Categories INNER JOIN (Products INNER JOIN (Orders INNER JOIN [Order Details Extended] "
     "ON Orders.OrderID = [Order Details Extended].OrderID) ON Products.ProductID = [Order Details "
     "Extended].ProductID) ON Categories.CategoryID = Products.CategoryID\r\n"
     "WHERE (((Orders.OrderDate) Between #1/1/95# And #12/31/95#))\r\n"
     "GROUP BY Categories.CategoryID, Categories.CategoryName, Products.ProductName\r\n"
     "ORDER BY Products.ProductName;",
     ""},
    {kNwind, "Sales by Year",
     "PARAMETERS [Forms]![Sales by Year Dialog]![BeginningDate] DateTime, [Forms]![Sales by Year "
     "Dialog]![EndingDate] DateTime;\r\n"
     "SELECT DISTINCTROW Orders.ShippedDate, Orders.OrderID, [Order Subtotals].Subtotal, "
     "Format([ShippedDate],\"yyyy\") AS [Year]\r\n"
     "FROM Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order Subtotals].OrderID\r\n"
     "WHERE (((Orders.ShippedDate) Is Not Null And (Orders.ShippedDate) Between [Forms]![Sales by "
     "Year Dialog]![BeginningDate] And [Forms]![Sales by Year Dialog]![EndingDate]));",
     "Forms!Sales by Year Dialog!BeginningDate\nForms!Sales by Year Dialog!EndingDate"},
    {kNwind, "Sales Totals by Amount",
     "SELECT DISTINCTROW [Order Subtotals].Subtotal AS SaleAmount, Orders.OrderID, "
     "Customers.CompanyName, Orders.ShippedDate\r\n"
     "FROM Customers INNER JOIN (Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order "
     "Subtotals].OrderID) ON Customers.CustomerID = Orders.CustomerID\r\n"
     "WHERE ((([Order Subtotals].Subtotal)>2500) AND ((Orders.ShippedDate) Between #1/1/95# And "
     "#12/31/95#));",
     ""},
    {kNwind, "Summary of Sales by Quarter",
     "SELECT DISTINCTROW Orders.ShippedDate, Orders.OrderID, [Order Subtotals].Subtotal\r\n"
     "FROM Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order Subtotals].OrderID\r\n"
     "WHERE (((Orders.ShippedDate) Is Not Null))\r\n"
     "ORDER BY Orders.ShippedDate;",
     ""},
    {kNwind, "Summary of Sales by Year",
     "SELECT DISTINCTROW Orders.ShippedDate, Orders.OrderID, [Order Subtotals].Subtotal\r\n"
     "FROM Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order Subtotals].OrderID\r\n"
     "WHERE (((Orders.ShippedDate) Is Not Null))\r\n"
     "ORDER BY Orders.ShippedDate;",
     ""},
    {kNwind, "Ten Most Expensive Products",
     "SELECT DISTINCTROW TOP 10 Products.ProductName AS TenMostExpensiveProducts, "
     "Products.UnitPrice\r\n"
     "FROM Products\r\n"
     "ORDER BY Products.UnitPrice DESC;",
     ""},
    {kAssets, "qryComputerHardwareInOwnerOrder",
     "SELECT [Asset Items].[Asset No], [Asset Items].[Owner], [Asset Items].[Asset Category], "
     "[Asset Items].[Make], [Asset Items].[Model], [Asset Items].[Cost]\r\n"
     "FROM [Asset Items]\r\n"
     "WHERE ((([Asset Items].[Asset Category])=\"Computer Hardware\"))\r\n"
     "ORDER BY [Asset Items].[Owner];",
     ""},
    {kAssets, "qryCostsSummedByOwner",
     "SELECT [Asset Items].[Owner], [Asset Items].[Asset Category], Sum([Asset Items].[Cost]) AS "
     "SumOfCost\r\n"
     "FROM [Asset Items]\r\n"
     "GROUP BY [Asset Items].[Owner], [Asset Items].[Asset Category];",
     ""},
    {kAssets, "qryGSTCalculations",
     "SELECT [Asset Items].[Asset No], [Asset Items].Make, [Asset Items].Model, [Asset "
     "Items].Acquired, [Asset Items].Cost, [Cost]/1.22 AS [Ex Tax], [Cost]-([Cost]/1.22) AS GST\r\n"
     "FROM [Asset Items];",
     ""},
};

std::string Literal(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

TEST(SavedQueryTest, ImportDecodesEveryVisibleQueryIntoItsAccessSql) {
  for (const FrozenQuery& query : kQueries) {
    SCOPED_TRACE(query.name);
    const std::string where = " FROM SavedQueries WHERE Name = " + Literal(query.name);
    EXPECT_EQ(ImportedValue(query.file, "SELECT AccessSql" + where), query.access_sql);
    EXPECT_EQ(ImportedValue(query.file, "SELECT coalesce(Parameters, '')" + where),
              query.parameters);
    EXPECT_EQ(ImportedValue(query.file, "SELECT Sql IS NULL" + where), "1");
  }
}

TEST(SavedQueryTest, ImportLeavesOutTheHiddenSourcesOfFormsAndReports) {
  EXPECT_EQ(ImportedValue(kNwind, "SELECT count(*) FROM SavedQueries"), "22");
  EXPECT_EQ(ImportedValue(kAssets, "SELECT count(*) FROM SavedQueries"), "3");
  EXPECT_EQ(ImportedValue(kAssets, "SELECT count(*) FROM SavedQueries WHERE Name LIKE '~%'"), "0");
}

TEST(SavedQueryTest, ParametersAreEveryNameInTheLibrarysPositionsAndRefusalsAreNamed) {
  const TempDir dir;
  const std::filesystem::path path = dir.path() / "queries.sqlite";
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  const tagdll::ConnectionPtr connection(raw);
  ASSERT_EQ(sqlite3_exec(raw,
                         "CREATE TABLE T (A INTEGER, B TEXT COLLATE NOCASE);"
                         "CREATE TABLE SavedQueries (Name TEXT COLLATE NOCASE PRIMARY KEY, Sql "
                         "TEXT, AccessSql TEXT, Parameters TEXT);"
                         "INSERT INTO SavedQueries VALUES "
                         "('qInner', NULL, 'SELECT T.A FROM T WHERE T.B = [Wanted] AND "
                         "T.A > [Least];', 'Wanted'),"
                         "('qOuter', NULL, 'PARAMETERS [Least] Long; SELECT qInner.A FROM "
                         "qInner WHERE qInner.A < [Most];', 'Least'),"
                         "('qBroken', NULL, 'SELECT FROM WHERE', 'Kept');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  std::map<std::string, std::string> verdicts;
  ASSERT_TRUE(tagdll::access::NumberSavedQueryParameters(raw, [&](const std::string& name,
                                                                  const Status& translation) {
                verdicts[name] = translation.ok() ? "ok" : "refused";
              }).ok());
  EXPECT_EQ(verdicts, (std::map<std::string, std::string>{
                          {"qBroken", "refused"}, {"qInner", "ok"}, {"qOuter", "ok"}}));
  // The declared one first, the text's own next, then the inner query's new one.
  EXPECT_EQ(QueryOne(path, "SELECT Parameters FROM SavedQueries WHERE Name = 'qOuter'"),
            "Least\nMost\nWanted");
  EXPECT_EQ(QueryOne(path, "SELECT Parameters FROM SavedQueries WHERE Name = 'qInner'"),
            "Wanted\nLeast");
  EXPECT_EQ(QueryOne(path, "SELECT Parameters FROM SavedQueries WHERE Name = 'qBroken'"), "Kept");
}

}  // namespace
}  // namespace quellor::testing
