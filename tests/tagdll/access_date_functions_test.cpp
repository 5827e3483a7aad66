#include <string>

#include "access_functions_fixture.h"

namespace quellor::testing {
namespace {

using AccessDateFunctions = AccessFunctionsTest;

TEST_F(AccessDateFunctions, PartsOfDatesBefore1900AndAfter2037) {
  const FunctionCase cases[] = {
      {"access_year('2024-03-04 05:06:07')", "2024"},
      {"access_month('2024-03-04 05:06:07')", "3"},
      {"access_day('2024-03-04 05:06:07')", "4"},
      {"access_hour('2024-03-04 05:06:07')", "5"},
      {"access_minute('2024-03-04 05:06:07')", "6"},
      {"access_second('2024-03-04 05:06:07')", "7"},
      {"access_year(45293)", "2024"},  // a serial
      {"access_year('March 4, 1850')", "1850"},
      {"access_day('1899-12-29 06:00:00')", "29"},
      {"access_hour(-1.25)", "6"},  // the time of a serial before 1899-12-30 is absolute
      {"access_year('2150-06-30 00:00:00')", "2150"},
      {"access_weekday('2150-06-30 00:00:00')", "3"},
      {"access_weekday('2024-01-07 00:00:00')", "1"},  // Sunday
      {"access_weekday('2024-01-07 00:00:00', 2)", "7"},
      {"access_weekday('1899-12-30 00:00:00')", "7"},
      {"access_weekday('2024-01-07 00:00:00', 8)", "null"},
      {"access_year('not a date')", "null"},
      {"access_year(NULL)", "null"},
      {"access_datepart('q', '2024-08-15 00:00:00')", "3"},
      {"access_datepart('y', '2024-12-31 00:00:00')", "366"},
      {"access_datepart('YYYY', '1850-12-31 00:00:00')", "1850"},
      {"access_datepart('n', '2024-12-31 10:45:00')", "45"},
      {"access_datepart('w', '2024-01-07 00:00:00', 2)", "7"},
      {"access_datepart('x', '2024-12-31 00:00:00')", "null"},
  };
  ExpectAll(cases);
}

TEST_F(AccessDateFunctions, DatePartWeeksFollowFirstDayAndFirstWeekRules) {
  const FunctionCase cases[] = {
      // Sunday weeks, week 1 holding January 1: the defaults.
      {"access_datepart('ww', '2021-01-01 00:00:00')", "1"},
      {"access_datepart('ww', '2024-12-31 00:00:00')", "53"},
      {"access_datepart('ww', '2000-12-31 00:00:00')", "54"},
      // Monday weeks, week 1 the first with four days (ISO 8601).
      {"access_datepart('ww', '2021-01-01 00:00:00', 2, 2)", "53"},
      {"access_datepart('ww', '2024-12-30 00:00:00', 2, 2)", "1"},
      {"access_datepart('ww', '2026-01-01 00:00:00', 2, 2)", "1"},
      {"access_datepart('ww', '1850-01-01 00:00:00', 2, 2)", "1"},
      {"access_datepart('ww', '2040-12-31 00:00:00', 2, 2)", "1"},
      // Monday weeks, week 1 the first whole week.
      {"access_datepart('ww', '2021-01-01 00:00:00', 2, 3)", "52"},
      {"access_datepart('ww', '2021-01-04 00:00:00', 2, 3)", "1"},
      {"access_datepart('ww', '2021-01-01 00:00:00', 0, 0)", "1"},  // the system's: Sunday, Jan 1
      {"access_datepart('ww', '2021-01-01 00:00:00', 1, 4)", "null"},
  };
  ExpectAll(cases);
}

TEST_F(AccessDateFunctions, DateArithmeticKeepsToTheCalendar) {
  const FunctionCase cases[] = {
      {"access_dateadd('m', 1, '2024-01-31 00:00:00')", "'2024-02-29 00:00:00'"},
      {"access_dateadd('m', 1, '2023-01-31 00:00:00')", "'2023-02-28 00:00:00'"},
      {"access_dateadd('yyyy', -1, '2024-02-29 10:00:00')", "'2023-02-28 10:00:00'"},
      {"access_dateadd('q', 1, '2024-11-30 00:00:00')", "'2025-02-28 00:00:00'"},
      {"access_dateadd('d', 1.5, '2024-01-01 00:00:00')", "'2024-01-03 00:00:00'"},
      {"access_dateadd('d', 2.5, '2024-01-01 00:00:00')", "'2024-01-03 00:00:00'"},
      {"access_dateadd('ww', 2, '2024-12-25 00:00:00')", "'2025-01-08 00:00:00'"},
      {"access_dateadd('h', 18, '1899-12-29 12:00:00')", "'1899-12-30 06:00:00'"},
      {"access_dateadd('n', -90, '2040-01-01 00:30:00')", "'2039-12-31 23:00:00'"},
      {"access_dateadd('y', 1, '1/2/2024')", "'2024-01-03 00:00:00'"},
      {"access_dateadd('s', 1, '9999-12-31 23:59:59')", "null"},
      {"access_dateadd('d', 1, 'garbage')", "null"},
      {"access_dateadd('x', 1, '2024-01-01 00:00:00')", "null"},
      // DateDiff counts the interval's boundaries crossed.
      {"access_datediff('yyyy', '2023-12-31 00:00:00', '2024-01-01 00:00:00')", "1"},
      {"access_datediff('q', '2024-03-31 00:00:00', '2024-04-01 00:00:00')", "1"},
      {"access_datediff('m', '2024-01-31 00:00:00', '2024-02-01 00:00:00')", "1"},
      {"access_datediff('d', '2024-01-01 23:00:00', '2024-01-02 01:00:00')", "1"},
      {"access_datediff('d', '2024-01-02 00:00:00', '2024-01-01 00:00:00')", "-1"},
      {"access_datediff('h', '2024-01-01 10:59:00', '2024-01-01 11:00:00')", "1"},
      {"access_datediff('n', '1899-12-29 23:59:00', '1899-12-30 00:01:00')", "2"},
      {"access_datediff('w', '2024-01-01 00:00:00', '2024-01-14 00:00:00')", "1"},
      {"access_datediff('ww', '2024-01-06 00:00:00', '2024-01-07 00:00:00')", "1"},
      {"access_datediff('ww', '2024-01-06 00:00:00', '2024-01-07 00:00:00', 2)", "0"},
      {"access_datediff('d', '1850-01-01 00:00:00', '2150-01-01 00:00:00')", "109573"},
      {"access_datediff('s', '1800-01-01 00:00:00', '2200-01-01 00:00:00')", "null"},  // > Long
  };
  ExpectAll(cases);
}

TEST_F(AccessDateFunctions, DatesAreMadeFromPartsAndText) {
  const FunctionCase cases[] = {
      {"access_dateserial(2024, 2, 30)", "'2024-03-01 00:00:00'"},
      {"access_dateserial(2024, 13, 1)", "'2025-01-01 00:00:00'"},
      {"access_dateserial(2024, 1, 0)", "'2023-12-31 00:00:00'"},
      {"access_dateserial(2024, 0, 1)", "'2023-12-01 00:00:00'"},
      {"access_dateserial(24, 1, 1)", "'2024-01-01 00:00:00'"},
      {"access_dateserial(45, 1, 1)", "'1945-01-01 00:00:00'"},
      {"access_dateserial(1850, 6, 15)", "'1850-06-15 00:00:00'"},
      {"access_dateserial(10000, 1, 1)", "null"},
      {"access_dateserial(2024, 1, 40000)", "null"},  // no Integer
      {"access_datevalue('1/2/2024 3:04 PM')", "'2024-01-02 00:00:00'"},
      {"access_datevalue('Tuesday, January 2, 2024')", "'2024-01-02 00:00:00'"},
      {"access_datevalue('3:00 PM')", "'1899-12-30 00:00:00'"},
      {"access_datevalue('1/32/2024')", "null"},
      {"access_to_serial('2024-01-02 12:00:00')", "45293.5"},
      {"access_to_serial('1899-12-29 06:00:00')", "-1.25"},
      {"access_to_serial('1/2/2024')", "45293.0"},
      {"access_to_serial(7)", "7.0"},
      {"access_to_serial('x')", "null"},
      {"access_from_serial(45293.5)", "'2024-01-02 12:00:00'"},
      {"access_from_serial(-1.25)", "'1899-12-29 06:00:00'"},
      {"access_from_serial(1e7)", "null"},
  };
  ExpectAll(cases);
}

TEST_F(AccessDateFunctions, ClockFunctionsReadTheClockAndStayOutOfIndexes) {
  const std::string before = Evaluate("access_now()");
  const std::string today = Evaluate("access_date()");
  const std::string after = Evaluate("access_now()");
  ASSERT_EQ(before.size(), 21u) << before;  // 'YYYY-MM-DD HH:MM:SS'
  EXPECT_TRUE(today == before.substr(0, 11) + " 00:00:00'" ||
              today == after.substr(0, 11) + " 00:00:00'")
      << today;
  EXPECT_EQ(Evaluate("substr(access_time(), 1, 10)"), "'1899-12-30'");
  // SQLite keeps functions that are not deterministic out of what it stores.
  Run("CREATE TABLE t(d TEXT)");
  Run("CREATE INDEX by_year ON t(access_year(d))");
  char* error = nullptr;
  EXPECT_NE(sqlite3_exec(connection_.get(), "CREATE INDEX by_now ON t(access_now())", nullptr,
                         nullptr, &error),
            SQLITE_OK);
  sqlite3_free(error);
}

}  // namespace
}  // namespace quellor::testing
