#include "tagdll/sql/access_functions.h"

#include <string>
#include <vector>

#include "access_functions_fixture.h"
#include "base/ascii.h"

namespace quellor::testing {
namespace {

using tagdll::sql::AccessFunction;
using tagdll::sql::FindAccessFunction;
using tagdll::sql::SqlType;

using AccessFunctionRegistry = AccessFunctionsTest;

// SQL calling the function with `count` Access arguments and, when hinted, a type.
std::string CallWith(const AccessFunction& function, int count) {
  std::string sql = std::string(function.sqlite_name) + "(";
  for (int i = 0; i < count + (function.type_hinted ? 1 : 0); ++i) sql += i == 0 ? "1" : ", 1";
  return sql + ")";
}

TEST_F(AccessFunctionRegistry, EveryAccessFunctionIsRegisteredForEachOfItsArgumentCounts) {
  const char* const names[] = {
      "IIf",     "Nz",     "IsNull",  "IsNumeric", "CStr",    "CInt",     "CLng",       "CDbl",
      "CSng",    "CCur",   "CBool",   "CDate",     "Int",     "Fix",      "Abs",        "Sgn",
      "Round",   "Val",    "Str",     "Len",       "Left",    "Right",    "Mid",        "InStr",
      "UCase",   "LCase",  "Trim",    "LTrim",     "RTrim",   "Space",    "String",     "Replace",
      "StrComp", "Chr",    "Asc",     "Format",    "Year",    "Month",    "Day",        "Hour",
      "Minute",  "Second", "Weekday", "DatePart",  "DateAdd", "DateDiff", "DateSerial", "DateValue",
      "Now",     "Date",   "Time",    "First",     "Last",    "StDev",    "StDevP",     "Var",
      "VarP"};
  for (const char* name : names) {
    const AccessFunction* function = FindAccessFunction(name);
    ASSERT_NE(function, nullptr) << name;
    EXPECT_EQ(function->sqlite_name, "access_" + ToLowerAscii(name)) << name;
    for (int count = function->min_args; count <= function->max_args; ++count) {
      const std::string call = CallWith(*function, count);
      EXPECT_EQ(Evaluate(call).rfind("error", 0), std::string::npos) << call;
    }
    EXPECT_EQ(Evaluate(CallWith(*function, function->max_args + 1)).rfind("error", 0), 0u)
        << name << " takes too many arguments";
  }
}

TEST_F(AccessFunctionRegistry, NamesAreFoundWithoutRegardToCaseAndWithTheirDollarForms) {
  const AccessFunction* left = FindAccessFunction("left");
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(FindAccessFunction("LEFT$"), left);
  EXPECT_NE(FindAccessFunction("Format$"), nullptr);
  EXPECT_NE(FindAccessFunction("Mid$"), nullptr);
  EXPECT_EQ(FindAccessFunction("Len$"), nullptr);   // Access has no Len$
  EXPECT_EQ(FindAccessFunction("Date$"), nullptr);  // a text, not a date: not here
  EXPECT_EQ(FindAccessFunction("Nope"), nullptr);
  EXPECT_EQ(FindAccessFunction(""), nullptr);  // the helpers have no Access name
  EXPECT_EQ(FindAccessFunction("$"), nullptr);
  EXPECT_TRUE(FindAccessFunction("CStr")->type_hinted);
  EXPECT_FALSE(FindAccessFunction("Len")->type_hinted);
  EXPECT_TRUE(FindAccessFunction("First")->aggregate);
}

TEST_F(AccessFunctionRegistry, ResultTypesFollowTheArgumentTypes) {
  struct Case {
    const char* name;
    std::vector<SqlType> arguments;
    SqlType result;
  };
  const Case cases[] = {
      {"IIf", {SqlType::kBoolean, SqlType::kBoolean, SqlType::kBoolean}, SqlType::kBoolean},
      {"IIf", {SqlType::kBoolean, SqlType::kInt16, SqlType::kDouble}, SqlType::kDouble},
      {"IIf", {SqlType::kBoolean, SqlType::kText, SqlType::kNull}, SqlType::kText},
      {"IIf", {SqlType::kBoolean, SqlType::kText, SqlType::kInt32}, SqlType::kVariant},
      {"Nz", {SqlType::kText}, SqlType::kText},
      {"Nz", {SqlType::kInt32}, SqlType::kVariant},  // "" for Null
      {"Nz", {SqlType::kCurrency, SqlType::kCurrency}, SqlType::kCurrency},
      {"Int", {SqlType::kBoolean}, SqlType::kInt16},
      {"Int", {SqlType::kDate}, SqlType::kDate},
      {"Round", {SqlType::kCurrency, SqlType::kInt16}, SqlType::kCurrency},
      {"Abs", {SqlType::kDate}, SqlType::kDouble},
      {"Left$", {SqlType::kText, SqlType::kInt16}, SqlType::kText},
      {"CCur", {SqlType::kText}, SqlType::kCurrency},
      {"DateAdd", {SqlType::kText, SqlType::kInt16, SqlType::kDate}, SqlType::kDate},
      {"First", {SqlType::kDate}, SqlType::kDate},
      {"StDev", {SqlType::kInt32}, SqlType::kDouble},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindAccessFunction(c.name)->result_type(c.arguments), c.result) << c.name;
  }
}

TEST_F(AccessFunctionRegistry, AggregatesKeepFirstAndLastRowsAndComputeStatistics) {
  Run("CREATE TABLE t(g INTEGER, v)");
  Run("INSERT INTO t VALUES (1, NULL), (1, 5), (1, 'x'),"
      " (2, 2), (2, 4), (2, 4), (2, 4), (2, 5), (2, 5), (2, 7), (2, 9), (2, NULL),"
      " (3, 10), (4, 1e9 + 4), (4, 1e9 + 7), (4, 1e9 + 13), (4, 1e9 + 16)");
  const FunctionCase cases[] = {
      {"access_first(v) FROM t WHERE g = 1", "null"},  // the first row's value, Null included
      {"access_last(v) FROM t WHERE g = 1", "'x'"},
      {"access_first(v) FROM t WHERE g = 2", "2"},
      {"access_first(v) FROM t WHERE g = 9", "null"},
      {"access_stdev(v) FROM t WHERE g = 2", "2.138089935299395"},
      {"access_stdevp(v) FROM t WHERE g = 2", "2.0"},
      {"access_var(v) FROM t WHERE g = 2", "4.571428571428571"},
      {"access_varp(v) FROM t WHERE g = 2", "4.0"},
      {"access_stdev(v) FROM t WHERE g = 3", "null"},  // one value has no sample deviation
      {"access_stdevp(v) FROM t WHERE g = 3", "0.0"},
      {"access_var(v) FROM t WHERE g = 4", "30.0"},    // far from zero, without cancellation
      {"access_stdev(v) FROM t WHERE g = 1", "null"},  // 'x' is no number: #Error
      {"access_var(v) FROM t WHERE g = 9", "null"},
      {"group_concat(ifnull(f, 'Null')) FROM (SELECT access_last(v) AS f FROM t GROUP BY g ORDER "
       "BY g)",
       "'x,Null,10,1000000016.0'"},
  };
  ExpectAll(cases);
}

}  // namespace
}  // namespace quellor::testing
