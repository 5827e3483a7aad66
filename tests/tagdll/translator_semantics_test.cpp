// The translator's Access semantics, checked by the rows its translations give over a real
// SQLite database: operators, types, text without regard to case, booleans, TOP and
// DISTINCTROW.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "base/ascii.h"
#include "tagdll/translator_fixture.h"

namespace quellor::testing {
namespace {

using tagdll::sql::SqlType;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class TranslatorSemantics : public TranslatorFixture {};

struct ValueCase {
  const char* expression;
  const char* value;
};

TEST_F(TranslatorSemantics, OperatorsAndLiteralsComputeAsAccess) {
  const ValueCase cases[] = {
      {"7 / 2", "3.5"},  // real division, even of integers
      {"7 + 2", "9"},
      {"\"ab\" + \"cd\"", "abcd"},
      {"Null + 1", "NULL"},
      {"\"ab\" + Null", "NULL"},
      {"\"a\" & Null", "a"},  // & takes Null for empty text
      {"Null & \"b\"", "b"},
      {"Null & Null", "NULL"},
      {"\"x\" & Null & \"y\" & \"z\"", "xyz"},
      {"True + 1", "0"},  // True is -1 in arithmetic
      {"-True", "1"},
      {"Yes * 3", "-3"},
      {"On + Off", "-1"},
      {"True = -1", "1"},
      {"True < False", "1"},
      {"Not True", "0"},
      {"Not Null", "NULL"},
      {"1 Xor 0", "1"},
      {"True Xor True", "0"},
      {"(1 = 1) And (2 = 3) Or True", "1"},
      {"5 Between 1 And 10", "1"},
      {"5 Not Between 1 And 4", "1"},
      {"3 In (1, 2, 3)", "1"},
      {"\"B\" In (\"a\", \"b\")", "1"},
      {"\"abc\" = \"ABC\"", "1"},
      {"\"abc\" < \"ABD\"", "1"},
      {"Null Is Null", "1"},
      {"1 Is Not Null", "1"},
      {"-2 - -3", "1"},
      {".5 * 4", "2"},
      {"#12/31/1995#", "1995-12-31 00:00:00"},
      {"#1/2/95 2:30 PM#", "1995-01-02 14:30:00"},
      {"#1995-06-07 08:09:10#", "1995-06-07 08:09:10"},
      {"#7-Jun-29#", "2029-06-07 00:00:00"},
      {"#23:15#", "1899-12-30 23:15:00"},
      {"#1/1/95# < #12/31/94 23:59:59#", "0"},
      {"IIf(1 > 2, \"x\", \"y\")", "y"},
      {"IIf(Null, 1, 2)", "2"},
      {"IIf(False, 1, IIf(False, 2, IIf(True, 3, 4)))", "3"},
      {"IIf(True, True, 5)", "-1"},  // a Boolean branch of a numeric IIf is -1
      {"Nz(Null, 5)", "5"},
      {"Nz(Null)", ""},
      {"Nz(\"v\")", "v"},
      {"IsNull(Null)", "1"},
      {"IsNull(0)", "0"},
      {"7 \\ 2", "3"},
      {"7.5 \\ 2", "4"},  // both rounded half to even first
      {"-7 Mod 3", "-1"},
      {"2 ^ 10", "1024"},
      {"\"abc\" Like \"A*\"", "1"},
      {"\"a1\" Not Like \"a#\"", "0"},
      {"\"b\" Like \"[!a-c]\"", "0"},
      {"1.5 & \"\"", "1.5"},
      {"True & \"\"", "True"},
      {"#1/2/95# & \"\"", "1/2/1995"},  // & renders a date as Access shows it
      {"#1/1/95# + 1.5", "1995-01-02 12:00:00"},
      {"#3/1/95# - #1/1/95#", "59"},
      {"#3/1/95# - 1", "1995-02-28 00:00:00"},
      {"#1/2/95# > 34700", "1"},  // a date compared with a number compares its serial
  };
  for (const ValueCase& c : cases) {
    EXPECT_THAT(Rows(std::string("SELECT ") + c.expression + " AS v"), ElementsAre(c.value))
        << c.expression;
  }
}

// Arguments reach Access's functions as Access hands them over: a Yes/No, a Single or a
// date as text where the function reads text, a Yes/No as -1 where it reads a number.
TEST_F(TranslatorSemantics, FunctionsReceiveTheirArgumentsAsAccessHandsThemOver) {
  const ValueCase cases[] = {
      {"Left(#12/31/1995#, 5)", "12/31"},
      {"Left(True, 2)", "Tr"},
      {"Len(True)", "4"},
      {"Left(CSng(1.1), 3)", "1.1"},
      {"Right(\"abc\", True + 3)", "bc"},
      {"InStr(3, \"abcABC\", \"b\")", "5"},
      {"Year(#12/31/1995#)", "1995"},
      {"Format(#12/31/1995#, \"yyyy\")", "1995"},
      {"\"Qtr \" & DatePart(\"q\", #5/1/95#, 1, 0)", "Qtr 2"},
      {"CInt(True)", "-1"},
      {"CStr(Yes)", "True"},
      {"CCur(1.23456)", "1.2346"},
      {"CCur(0.1) * 3 = 0.3", "1"},  // Currency arithmetic stays at four places
      {"0.1 * 3 = 0.3", "0"},
      {"CInt(40000)", "NULL"},  // #Error is Null, the query goes on
  };
  for (const ValueCase& c : cases) {
    EXPECT_THAT(Rows(std::string("SELECT ") + c.expression + " AS v"), ElementsAre(c.value))
        << c.expression;
  }
  EXPECT_THAT(Rows("SELECT Sum(CCur(UnitPrice * Quantity * (1 - Discount))) AS s FROM "
                   "[Order Details]"),
              ElementsAre("5301.6"));
  // A declared Date parameter compares as a date whatever form the program binds.
  const char* since =
      "PARAMETERS [Since] DateTime; SELECT Count(*) AS n FROM Orders WHERE "
      "ShippedDate >= [Since]";
  for (const char* form : {"1995-07-01 00:00:00", "7/1/1995", "34881"}) {
    EXPECT_THAT(Rows(since, {form}), ElementsAre("3")) << form;
  }
}

struct TypeCase {
  const char* expression;
  SqlType type;
};

TEST_F(TranslatorSemantics, ResultColumnsHaveTheTypesAccessGivesThem) {
  const TypeCase cases[] = {
      {"UnitsInStock + 1", SqlType::kInt16},
      {"UnitsInStock * ProductID", SqlType::kInt32},
      {"UnitsInStock * UnitPrice", SqlType::kDouble},
      {"7 / 2", SqlType::kDouble},
      {"UnitsInStock \\ 2", SqlType::kInt16},
      {"ProductID Mod 2", SqlType::kInt32},
      {"2 ^ 2", SqlType::kDouble},
      {"-Discontinued", SqlType::kInt16},
      {"ProductName & 1", SqlType::kText},
      {"ProductName + \"s\"", SqlType::kText},
      {"Discontinued", SqlType::kBoolean},
      {"UnitPrice > 5", SqlType::kBoolean},
      {"ProductName Like \"C*\"", SqlType::kBoolean},
      {"IIf(UnitPrice > 10, True, False)", SqlType::kBoolean},  // an IIf of Booleans
      {"IIf(Discontinued, 1, 0)", SqlType::kInt16},
      {"IIf(Discontinued, 1, 2.5)", SqlType::kDouble},
      {"IIf(Discontinued, \"a\", 1)", SqlType::kVariant},
      {"IIf(Discontinued, Null, ProductName)", SqlType::kText},
      {"Nz(ProductName)", SqlType::kText},
      {"Nz(UnitsInStock, 0)", SqlType::kInt16},
      {"7", SqlType::kInt16},
      {"40000", SqlType::kInt32},
      {"3000000000", SqlType::kDouble},
      {"1.5", SqlType::kDouble},
      {"Null", SqlType::kNull},
      {"#1/1/95# + 1", SqlType::kDate},
      {"#1/2/95# - #1/1/95#", SqlType::kDouble},
      {"Count(*)", SqlType::kInt32},
      {"Sum(UnitsInStock)", SqlType::kInt32},
      {"Sum(Discontinued)", SqlType::kInt32},
      {"Sum(UnitPrice)", SqlType::kDouble},
      {"Avg(UnitsInStock)", SqlType::kDouble},
      {"Max(ProductName)", SqlType::kText},
      {"Min(Discontinued)", SqlType::kBoolean},
      {"(SELECT Max(OrderDate) FROM Orders)", SqlType::kDate},
  };
  for (const TypeCase& c : cases) {
    const auto translation = Translate(std::string("SELECT ") + c.expression + " FROM Products");
    ASSERT_TRUE(translation.ok()) << c.expression << ": " << translation.status().message();
    ASSERT_EQ(translation->columns.size(), 1u) << c.expression;
    EXPECT_EQ(translation->columns[0].type, c.type) << c.expression;
  }
}

// Words.Word is TEXT without COLLATE NOCASE: SQLite alone would compare its bytes.
TEST_F(TranslatorSemantics, TextComparesGroupsSortsAndIsDistinctWithoutRegardToCase) {
  EXPECT_THAT(Rows("SELECT Word FROM Words WHERE Word = \"APPLE\""),
              UnorderedElementsAre("apple", "Apple", "APPLE"));
  EXPECT_THAT(Rows("SELECT Word & \"!\" AS w FROM Words WHERE Word & \"\" = \"aPPle\""),
              UnorderedElementsAre("apple!", "Apple!", "APPLE!"));
  EXPECT_THAT(Rows("SELECT Word FROM Words WHERE Word In (\"BANANA\", \"x\")"),
              ElementsAre("banana"));
  EXPECT_THAT(Rows("SELECT Word FROM Words WHERE Word Between \"B\" And \"C\""),
              ElementsAre("banana"));
  EXPECT_THAT(Rows("SELECT Word FROM Words WHERE Word > \"B\" ORDER BY Word DESC"),
              ElementsAre("cherry", "banana"));
  EXPECT_THAT(Rows("SELECT Count(*) AS n FROM Words GROUP BY Word ORDER BY Count(*)"),
              ElementsAre("1", "1", "1", "3"));
  EXPECT_EQ(Rows("SELECT DISTINCT Word FROM Words").size(), 4u);
  EXPECT_EQ(Rows("SELECT Word FROM Words WHERE Size = 3 UNION SELECT Word FROM Words WHERE "
                 "Size = 5")
                .size(),
            1u);
  EXPECT_THAT(Rows("SELECT Max(Word) AS m FROM Words"), ElementsAre("cherry"));
  const std::vector<std::string> sorted = Rows("SELECT Word FROM Words ORDER BY Word");
  ASSERT_EQ(sorted.size(), 6u);
  EXPECT_EQ(sorted.front(), "NULL");  // Null sorts first, as in Access
  EXPECT_TRUE(std::all_of(sorted.begin() + 1, sorted.begin() + 4,
                          [](const std::string& w) { return EqualsIgnoreCase(w, "apple"); }));
  EXPECT_THAT(std::vector<std::string>(sorted.begin() + 4, sorted.end()),
              ElementsAre("banana", "cherry"));
}

TEST_F(TranslatorSemantics, BooleansCompareWithTrueAsAStoredYesAndCountAsMinusOne) {
  for (const char* truth : {"Checked = True", "Checked = Yes", "Checked", "True = Checked"}) {
    EXPECT_THAT(Rows(std::string("SELECT Word FROM Words WHERE ") + truth + " ORDER BY Size"),
                ElementsAre("banana", "apple", "NULL"))
        << truth;
  }
  EXPECT_THAT(Rows("SELECT Word FROM Words WHERE Checked <> True ORDER BY Size"),
              ElementsAre("cherry", "Apple"));
  EXPECT_THAT(Rows("SELECT Word FROM Words WHERE Not Checked ORDER BY Size"),
              ElementsAre("cherry", "Apple"));
  EXPECT_THAT(Rows("SELECT Sum(Checked) AS s FROM Words"), ElementsAre("-3"));
  EXPECT_THAT(Rows("SELECT Checked + 0 AS v FROM Words WHERE Word = \"banana\""),
              ElementsAre("-1"));
  // True (-1) sorts before False (0).
  EXPECT_THAT(Rows("SELECT Word FROM Words WHERE Checked Is Not Null ORDER BY Checked, Size"),
              ElementsAre("banana", "apple", "NULL", "cherry", "Apple"));
  EXPECT_THAT(Rows("SELECT Max(Checked) AS m, Min(Checked) AS n FROM Words"), ElementsAre("0|1"));
}

TEST_F(TranslatorSemantics, TopKeepsTheTiesAtTheBoundary) {
  // Quantities: 50, 35, 30, 20, 20, 15, 12, 10, 6, 5, 4, 3, 2.
  EXPECT_THAT(Rows("SELECT TOP 4 Quantity FROM [Order Details] ORDER BY Quantity DESC"),
              ElementsAre("50", "35", "30", "20", "20"));
  EXPECT_THAT(Rows("SELECT TOP 3 Quantity FROM [Order Details] ORDER BY Quantity DESC"),
              ElementsAre("50", "35", "30"));
  // 25 percent of 13 rows, rounded up, is 4: the tie makes 5.
  EXPECT_THAT(Rows("SELECT TOP 25 PERCENT Quantity FROM [Order Details] ORDER BY Quantity DESC"),
              ElementsAre("50", "35", "30", "20", "20"));
  EXPECT_EQ(Rows("SELECT TOP 2 OrderID FROM Orders").size(), 2u);
  EXPECT_EQ(Rows("SELECT TOP 50 PERCENT OrderID FROM Orders").size(), 4u);
  EXPECT_THAT(Rows("SELECT DISTINCT TOP 2 Quantity FROM [Order Details] WHERE Quantity < 40 "
                   "ORDER BY Quantity DESC"),
              ElementsAre("35", "30"));
  EXPECT_THAT(Rows("SELECT TOP 1 OrderID, Sum(Quantity) AS q FROM [Order Details] "
                   "GROUP BY OrderID ORDER BY Sum(Quantity) DESC"),
              ElementsAre("10700|55"));
}

TEST_F(TranslatorSemantics, DistinctRowIsIgnoredMadeExactOrRefused) {
  const char* join =
      " FROM Customers INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID";
  // Every source shows a column: Access ignores DISTINCTROW.
  EXPECT_EQ(
      Rows(std::string("SELECT DISTINCTROW Orders.OrderID, Customers.CompanyName") + join).size(),
      7u);
  // One record of Customers per customer that has orders.
  EXPECT_THAT(Rows(std::string("SELECT DISTINCTROW Customers.CustomerID") + join),
              UnorderedElementsAre("ALFKI", "ANATR", "BONAP", "LONEP"));
  // Records, not values: two products pack in 24 bottles, and both stay.
  EXPECT_EQ(Rows("SELECT DISTINCTROW Products.QuantityPerUnit FROM Products INNER JOIN "
                 "[Order Details] ON Products.ProductID = [Order Details].ProductID")
                .size(),
            8u);
  EXPECT_EQ(Rows("SELECT DISTINCT Products.QuantityPerUnit FROM Products INNER JOIN "
                 "[Order Details] ON Products.ProductID = [Order Details].ProductID")
                .size(),
            7u);
  // Words has no primary key: SQLite's row ids tell its records apart.
  EXPECT_THAT(Rows("SELECT DISTINCTROW Words.Word FROM Words INNER JOIN Products ON Words.Size "
                   "= Products.CategoryID"),
              UnorderedElementsAre("APPLE", "banana"));
  EXPECT_EQ(Rows(std::string("SELECT DISTINCTROW Orders.CustomerID, Count(*) AS n") + join +
                 " GROUP BY Orders.CustomerID")
                .size(),
            4u);
  EXPECT_THAT(Rows("SELECT DISTINCTROW q.OrderID FROM (SELECT OrderID FROM Orders) AS q "
                   "INNER JOIN [Order Details] ON q.OrderID = [Order Details].OrderID"),
              ElementsAre("refused: DISTINCTROW that must tell apart the rows of [q] is not "
                          "carried"));
}

}  // namespace
}  // namespace quellor::testing
