#include "tagdll/sample_orders.h"

namespace quellor::testing {

const char kSampleOrdersSql[] = R"(
CREATE TABLE Categories (CategoryID INTEGER PRIMARY KEY, CategoryName TEXT COLLATE NOCASE,
                         Description TEXT COLLATE NOCASE, Picture BLOB) WITHOUT ROWID;
INSERT INTO Categories (CategoryID, CategoryName) VALUES
  (1, 'Beverages'), (2, 'Condiments'), (8, 'Seafood');

CREATE TABLE Suppliers (SupplierID INTEGER PRIMARY KEY, CompanyName TEXT COLLATE NOCASE,
                        ContactName TEXT COLLATE NOCASE, ContactTitle TEXT COLLATE NOCASE,
                        Address TEXT COLLATE NOCASE, City TEXT COLLATE NOCASE,
                        Region TEXT COLLATE NOCASE, PostalCode TEXT COLLATE NOCASE,
                        Country TEXT COLLATE NOCASE, Phone TEXT COLLATE NOCASE,
                        Fax TEXT COLLATE NOCASE, HomePage TEXT COLLATE NOCASE) WITHOUT ROWID;
INSERT INTO Suppliers (SupplierID, CompanyName, ContactName, City, Country) VALUES
  (1, 'Exotic Liquids', 'Charlotte Cooper', 'London', 'UK'),
  (2, 'New Orleans Cajun Delights', 'Shelley Burke', 'New Orleans', 'USA'),
  (3, 'Tokyo Traders', 'Yoshi Nagase', 'Berlin', 'Japan');

CREATE TABLE Products (ProductID INTEGER PRIMARY KEY, ProductName TEXT COLLATE NOCASE,
                       SupplierID INTEGER, CategoryID INTEGER,
                       QuantityPerUnit TEXT COLLATE NOCASE, UnitPrice DOUBLE,
                       UnitsInStock SMALLINT, UnitsOnOrder SMALLINT, ReorderLevel SMALLINT,
                       Discontinued BOOLEAN) WITHOUT ROWID;
INSERT INTO Products VALUES
  (1, 'Chai', 1, 1, '10 boxes', 18, 39, 0, 10, 0),
  (2, 'Chang', 1, 1, '24 bottles', 19, 17, 40, 25, 0),
  (3, 'Aniseed Syrup', 1, 2, '12 bottles', 10, 13, 70, 25, 0),
  (4, 'Gumbo Mix', 2, 2, '36 boxes', 21.35, 0, 0, 0, 1),
  (5, 'Ikura', 3, 8, '12 jars', 31, 31, 0, 0, 0),
  (6, 'Konbu', 3, 8, '2 kg box', 6, 24, 0, 5, 0),
  (7, 'Kobe Niku', 3, 8, '18 packs', 97, 29, 0, 0, 1),
  (8, 'genen Shouyu', 3, 2, '24 bottles', 15.5, 39, 0, 5, 0);

CREATE TABLE Customers (CustomerID TEXT COLLATE NOCASE PRIMARY KEY,
                        CompanyName TEXT COLLATE NOCASE, ContactName TEXT COLLATE NOCASE,
                        ContactTitle TEXT COLLATE NOCASE, Address TEXT COLLATE NOCASE,
                        City TEXT COLLATE NOCASE, Region TEXT COLLATE NOCASE,
                        PostalCode TEXT COLLATE NOCASE, Country TEXT COLLATE NOCASE,
                        Phone TEXT COLLATE NOCASE, Fax TEXT COLLATE NOCASE) WITHOUT ROWID;
INSERT INTO Customers (CustomerID, CompanyName, ContactName, Address, City, Country) VALUES
  ('ALFKI', 'Alfreds Futterkiste', 'Maria Anders', 'Obere Str. 57', 'Berlin', 'Germany'),
  ('ANATR', 'Ana Trujillo', 'Ana Trujillo', 'Avda. 2222', 'Mexico', 'Mexico'),
  ('BONAP', 'Bon app''', 'Laurence Lebihan', '12, rue des Bouchers', 'Marseille', 'France'),
  ('LONEP', 'Lonesome Pine', 'Fran Wilson', '89 Chiaroscuro Rd.', 'Portland', 'USA');

CREATE TABLE Employees (EmployeeID INTEGER PRIMARY KEY, LastName TEXT COLLATE NOCASE,
                        FirstName TEXT COLLATE NOCASE, Title TEXT COLLATE NOCASE,
                        TitleOfCourtesy TEXT COLLATE NOCASE, BirthDate DATETIME,
                        HireDate DATETIME, Address TEXT COLLATE NOCASE, City TEXT COLLATE NOCASE,
                        Region TEXT COLLATE NOCASE, PostalCode TEXT COLLATE NOCASE,
                        Country TEXT COLLATE NOCASE, HomePhone TEXT COLLATE NOCASE,
                        Extension TEXT COLLATE NOCASE, Photo BLOB, Notes TEXT COLLATE NOCASE,
                        ReportsTo INTEGER) WITHOUT ROWID;
INSERT INTO Employees (EmployeeID, LastName, FirstName, Country) VALUES
  (1, 'Davolio', 'Nancy', 'USA'), (2, 'Fuller', NULL, 'USA'), (5, 'Buchanan', 'Steven', 'UK');

CREATE TABLE Shippers (ShipperID INTEGER PRIMARY KEY, CompanyName TEXT COLLATE NOCASE,
                       Phone TEXT COLLATE NOCASE) WITHOUT ROWID;
INSERT INTO Shippers (ShipperID, CompanyName) VALUES
  (1, 'Speedy Express'), (2, 'United Package'), (3, 'Federal Shipping');

CREATE TABLE Orders (OrderID INTEGER PRIMARY KEY, CustomerID TEXT COLLATE NOCASE,
                     EmployeeID INTEGER, OrderDate DATETIME, RequiredDate DATETIME,
                     ShippedDate DATETIME, ShipVia INTEGER, Freight DOUBLE,
                     ShipName TEXT COLLATE NOCASE, ShipAddress TEXT COLLATE NOCASE,
                     ShipCity TEXT COLLATE NOCASE, ShipRegion TEXT COLLATE NOCASE,
                     ShipPostalCode TEXT COLLATE NOCASE, ShipCountry TEXT COLLATE NOCASE)
                     WITHOUT ROWID;
INSERT INTO Orders (OrderID, CustomerID, EmployeeID, OrderDate, RequiredDate, ShippedDate,
                    ShipVia, Freight, ShipName, ShipCity, ShipCountry) VALUES
  (10248, 'ALFKI', 5, '1994-08-04 00:00:00', '1994-09-01 00:00:00', '1994-08-16 00:00:00', 3,
   32.38, 'Alfreds Futterkiste', 'Berlin', 'Germany'),
  (10400, 'ANATR', 1, '1995-01-01 00:00:00', '1995-01-29 00:00:00', '1995-01-16 00:00:00', 3,
   83.93, 'Ana Trujillo', 'Mexico', 'Mexico'),
  (10500, 'BONAP', 2, '1995-04-09 00:00:00', '1995-05-07 00:00:00', '1995-04-17 00:00:00', 1,
   42.68, 'Bon app''', 'Marseille', 'France'),
  (10600, 'ALFKI', 1, '1995-07-16 00:00:00', '1995-08-13 00:00:00', '1995-07-21 00:00:00', 1,
   45.13, 'Alfreds Futterkiste', 'Berlin', 'Germany'),
  (10700, 'LONEP', 5, '1995-10-10 00:00:00', '1995-11-07 00:00:00', NULL, 1,
   65.1, 'Lonesome Pine', 'Portland', 'USA'),
  (10800, 'BONAP', 1, '1995-12-31 00:00:00', '1996-01-28 00:00:00', '1996-01-10 00:00:00', 2,
   137.44, 'Bon app''', 'Marseille', 'France'),
  (10900, 'ANATR', 2, '1996-03-04 00:00:00', '1996-04-01 00:00:00', '1996-03-15 00:00:00', 2,
   1.66, 'Ana Trujillo', 'Mexico', 'Mexico');

CREATE TABLE "Order Details" (OrderID INTEGER, ProductID INTEGER, UnitPrice DOUBLE,
                              Quantity SMALLINT, Discount DOUBLE,
                              PRIMARY KEY (OrderID, ProductID)) WITHOUT ROWID;
INSERT INTO "Order Details" VALUES
  (10248, 1, 14, 12, 0), (10248, 5, 9.8, 10, 0),
  (10400, 2, 15.2, 20, 0.05), (10400, 3, 8, 5, 0),
  (10500, 4, 17, 30, 0.15), (10500, 5, 24.8, 6, 0),
  (10600, 1, 18, 15, 0.25), (10600, 7, 1270, 2, 0),
  (10700, 6, 6, 35, 0), (10700, 8, 15.5, 20, 0.1),
  (10800, 2, 19, 50, 0.2), (10800, 5, 31, 3, 0),
  (10900, 3, 10, 4, 0);

CREATE TABLE Words (Word TEXT, Size INTEGER, Checked BOOLEAN);
INSERT INTO Words VALUES ('apple', 3, 1), ('Apple', 5, 0), ('APPLE', 1, NULL), ('banana', 2, 1),
  ('cherry', NULL, 0), (NULL, 4, 1);

CREATE TABLE "Asset Items" ("Asset No" TEXT COLLATE NOCASE, "Asset Category" TEXT COLLATE NOCASE,
                            Make TEXT COLLATE NOCASE, Model TEXT COLLATE NOCASE,
                            Description TEXT COLLATE NOCASE, Owner TEXT COLLATE NOCASE,
                            "Serial No" TEXT COLLATE NOCASE, Acquired DATETIME, Cost DOUBLE,
                            Warranty SMALLINT, "Tax Scale" TEXT COLLATE NOCASE,
                            "Supplier No" TEXT COLLATE NOCASE, Comments TEXT COLLATE NOCASE);
INSERT INTO "Asset Items" ("Asset No", "Asset Category", Make, Model, Owner, Acquired, Cost)
  VALUES ('A1', 'Computer Hardware', 'Dell', 'D1', 'Zoe', '2007-03-01 00:00:00', 1220),
         ('A2', 'Furniture', 'Ikea', 'Desk', 'Adam', '2007-04-01 00:00:00', 244),
         ('A3', 'computer hardware', 'HP', 'H2', 'Adam', '2007-05-01 00:00:00', 610),
         ('A4', 'Computer Hardware', 'HP', 'H3', 'Adam', NULL, 122);
)";

}  // namespace quellor::testing
