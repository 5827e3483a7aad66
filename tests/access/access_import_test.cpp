// The import of the two real Access files: every table with its exact name and row count,
// the declared type of each Access type, values of every column type against facts taken
// once from mdb-export (dates against the calendar: the library's can be wrong), and the
// keys and indexes.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <string_view>

#include "access/access_test_files.h"
#include "access/imported_files.h"

namespace quellor::testing {
namespace {

struct Fact {
  std::string_view file;
  std::string_view sql;  // one value
  std::string_view expected;
};

void ExpectFacts(std::initializer_list<Fact> facts) {
  for (const Fact& fact : facts) {
    SCOPED_TRACE(fact.sql);
    EXPECT_EQ(ImportedValue(fact.file, std::string(fact.sql)), fact.expected);
  }
}

TEST(AccessImportTest, ImportKeepsEveryUserTableWithItsNameAndRows) {
  ExpectFacts({
      {kNwind, "SELECT group_concat(name, '|') FROM sqlite_master WHERE type = 'table'",
       "Order Details|Orders|Products|Shippers|Categories|Customers|Employees|Suppliers|"
       "Ums\xC3\xA4tze|SavedQueries"},
      {kNwind, "SELECT count(*) FROM [Order Details]", "2155"},
      {kNwind, "SELECT count(*) FROM Orders", "830"},
      {kNwind, "SELECT count(*) FROM Products", "77"},
      {kNwind, "SELECT count(*) FROM Shippers", "3"},
      {kNwind, "SELECT count(*) FROM Categories", "8"},
      {kNwind, "SELECT count(*) FROM Customers", "91"},
      {kNwind, "SELECT count(*) FROM Employees", "9"},
      {kNwind, "SELECT count(*) FROM Suppliers", "29"},
      {kNwind, "SELECT count(*) FROM [Ums\xC3\xA4tze]", "830"},
      {kAssets, "SELECT group_concat(name, '|') FROM sqlite_master WHERE type = 'table'",
       "Asset Items|SavedQueries"},
      {kAssets, "SELECT count(*) FROM [Asset Items]", "65"},
  });
}

TEST(AccessImportTest, ImportDeclaresEachAccessTypeAsTheProjectSchemaDoes) {
  const auto type_of = [](std::string_view table, std::string_view column) {
    return "SELECT type FROM pragma_table_info('" + std::string(table) + "') WHERE name = '" +
           std::string(column) + "'";
  };
  struct Declared {
    std::string_view file, table, column, type;
  } const cases[] = {
      {kNwind, "Orders", "OrderID", "INTEGER"},           // Long (AutoNumber)
      {kNwind, "Order Details", "Quantity", "SMALLINT"},  // Integer
      {kNwind, "Order Details", "UnitPrice", "DOUBLE"},   // Currency
      {kNwind, "Order Details", "Discount", "DOUBLE"},    // Single
      {kNwind, "Orders", "OrderDate", "DATETIME"},        // Date/Time
      {kNwind, "Customers", "CompanyName", "TEXT"},       // Text
      {kNwind, "Employees", "Notes", "TEXT"},             // Memo
      {kNwind, "Categories", "Picture", "BLOB"},          // OLE Object
      {kNwind, "Products", "Discontinued", "BOOLEAN"},    // Yes/No
      {kAssets, "Asset Items", "Cost", "DOUBLE"},         // Currency
      {kAssets, "Asset Items", "Acquired", "DATETIME"},   // Date/Time
      {kAssets, "Asset Items", "Comments", "TEXT"},       // Memo
  };
  for (const Declared& c : cases) {
    SCOPED_TRACE(std::string(c.table) + "." + std::string(c.column));
    EXPECT_EQ(ImportedValue(c.file, type_of(c.table, c.column)), c.type);
  }
  // Text compares without regard to case; a Yes/No holds 0 or 1 only.
  ExpectFacts({
      {kNwind, "SELECT count(*) FROM Customers WHERE CustomerID = 'alfki'", "1"},
      {kAssets, "SELECT count(*) FROM [Asset Items] WHERE Make = 'geo rocket'", "6"},
      {kNwind,
       "SELECT sql LIKE '%CHECK (\"Discontinued\" IN (0, 1))%' FROM sqlite_master "
       "WHERE name = 'Products'",
       "1"},
  });
}

TEST(AccessImportTest, ImportReadsTheValuesOfEveryColumnTypeExactly) {
  ExpectFacts({
      // Long, Integer, Text and a Null.
      {kNwind, "SELECT typeof(EmployeeID) || ':' || EmployeeID FROM Orders WHERE OrderID = 10248",
       "integer:5"},
      {kNwind,
       "SELECT typeof(Quantity) || ':' || Quantity FROM [Order Details] "
       "WHERE OrderID = 10248 AND ProductID = 11",
       "integer:12"},
      {kNwind,
       "SELECT CompanyName || '|' || coalesce(Region, 'NULL') FROM Customers "
       "WHERE CustomerID = 'ALFKI'",
       "Alfreds Futterkiste|NULL"},
      {kAssets, "SELECT Make || '|' || Warranty FROM [Asset Items] WHERE [Asset No] = '30050'",
       "GEO Rocket|12"},
      // Windows-1252 text as UTF-8, and a line break inside a value.
      {kNwind, "SELECT Address || '|' || City FROM Customers WHERE CustomerID = 'BERGS'",
       "Berguvsv\xC3\xA4gen  8|Lule\xC3\xA5"},
      {kNwind, "SELECT hex(Address) FROM Employees WHERE EmployeeID = 1",
       "353037202D2032307468204176652E20452E0D0A4170742E203241"},
      // Currency: the double nearest the stored value; Single: the float's exact value.
      {kNwind,
       "SELECT typeof(UnitPrice) || ':' || (UnitPrice = 9.8) FROM [Order Details] "
       "WHERE OrderID = 10248 AND ProductID = 42",
       "real:1"},
      {kNwind, "SELECT printf('%.2f', sum(UnitPrice * Quantity)) FROM [Order Details]",
       "1354458.59"},
      {kNwind, "SELECT Freight = 32.38 FROM Orders WHERE OrderID = 10248", "1"},
      {kAssets, "SELECT Cost = 1995.5 FROM [Asset Items] WHERE [Asset No] = '30050'", "1"},
      {kNwind,
       "SELECT Discount = 0.15000000596046448 FROM [Order Details] "
       "WHERE OrderID = 10250 AND ProductID = 51",
       "1"},
      // Date/Time: 1994-08-04 is day 34550 and 1948-12-08 day 17875 from 1899-12-30.
      {kNwind, "SELECT typeof(OrderDate) || ':' || OrderDate FROM Orders WHERE OrderID = 10248",
       "text:1994-08-04 00:00:00"},
      {kNwind, "SELECT BirthDate FROM Employees WHERE EmployeeID = 1", "1948-12-08 00:00:00"},
      {kAssets, "SELECT Acquired FROM [Asset Items] WHERE [Asset No] = '30071'",
       "1999-03-10 00:00:00"},
      // Memo, whole, and a hyperlink's text.
      {kNwind,
       "SELECT length(Notes) || '|' || substr(Notes, 1, 40) FROM Employees "
       "WHERE EmployeeID = 1",
       "175|Education includes a BA in psychology fr"},
      {kNwind, "SELECT HomePage FROM Suppliers WHERE SupplierID = 2", "#CAJUN.HTM#"},
      // OLE Object: every byte.
      {kNwind,
       "SELECT typeof(Picture) || ':' || length(Picture) || ':' || "
       "hex(substr(Picture, 1, 8)) FROM Categories WHERE CategoryID = 1",
       "blob:10746:151C2F0002000000"},
      {kNwind, "SELECT length(Photo) FROM Employees WHERE EmployeeID = 1", "21626"},
      // Yes/No.
      {kNwind, "SELECT group_concat(Discontinued, '') FROM Products WHERE ProductID IN (1, 5)",
       "01"},
      {kNwind, "SELECT sum(Discontinued) FROM Products", "8"},
  });
}

TEST(AccessImportTest, ImportKeepsPrimaryKeysAndIndexes) {
  const auto key_of = [](std::string_view table) {
    return "SELECT group_concat(name, ',') FROM (SELECT name FROM pragma_table_info('" +
           std::string(table) + "') WHERE pk > 0 ORDER BY pk)";
  };
  const auto indexes_of = [](std::string_view table) {
    return "SELECT group_concat(name || ':' || \"unique\", ',') FROM (SELECT name, \"unique\" "
           "FROM pragma_index_list('" +
           std::string(table) + "') WHERE origin = 'c' ORDER BY name)";
  };
  struct Keys {
    std::string_view file, table, primary_key, indexes;
  } const cases[] = {
      {kNwind, "Order Details", "OrderID,ProductID",
       "Order Details.OrderID:0,Order Details.ProductID:0"},
      {kNwind, "Orders", "OrderID",
       "Orders.CustomerID:0,Orders.EmployeeID:0,Orders.OrderDate:0,Orders.ShipPostalCode:0,"
       "Orders.ShippedDate:0"},
      {kNwind, "Categories", "CategoryID", "Categories.CategoryName:1"},
      {kNwind, "Shippers", "ShipperID", "NULL"},
      {kAssets, "Asset Items", "Asset No", "NULL"},
  };
  for (const Keys& c : cases) {
    SCOPED_TRACE(c.table);
    EXPECT_EQ(ImportedValue(c.file, key_of(c.table)), c.primary_key);
    EXPECT_EQ(ImportedValue(c.file, indexes_of(c.table)), c.indexes);
  }
}

}  // namespace
}  // namespace quellor::testing
