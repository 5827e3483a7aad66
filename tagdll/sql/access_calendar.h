// The calendar rules of Access's date functions: weekdays and weeks of the year under
// DatePart's and Format's firstdayofweek and firstweekofyear, the names of months and days,
// and time counted straight on in seconds for adding and comparing dates.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "tagdll/sql/access_date.h"

namespace quellor::tagdll::sql {

enum class FirstWeek {
  kJanuaryFirst = 1,   // week 1 holds January 1
  kFirstFourDays = 2,  // week 1 is the first with four days in the new year (ISO 8601's rule)
  kFirstFullWeek = 3,  // week 1 is the first whole week of the new year
};

struct WeekRules {
  int first_day = 1;  // the first day of a week: 1 Sunday ... 7 Saturday
  FirstWeek first_week = FirstWeek::kJanuaryFirst;
};

// The rules of the arguments firstdayofweek (0, the system's, is Sunday here; or 1-7) and
// firstweekofyear (0, the system's, is January 1 here; or 1-3); nullopt for other values.
std::optional<WeekRules> WeekRulesOf(int first_day_of_week, int first_week_of_year);

// The day of the week, 1 for the rules' first day.
int Weekday(std::int64_t day_number, int first_day);
// The week of the year; a day before the year's week 1 belongs to the previous year's last
// week, and a day from the next year's week 1 on is in week 1.
int WeekOfYear(const DateTimeParts& date, const WeekRules& rules);
int DayOfYear(const DateTimeParts& date);
inline int QuarterOf(int month) { return (month - 1) / 3 + 1; }
inline std::int64_t DayNumberOf(const DateTimeParts& date) {
  return DayNumber(date.year, date.month, date.day);
}

// Seconds from 1899-12-30 00:00, counted straight on across that day (a serial before it
// keeps its time as an absolute fraction; these do not). nullopt outside Access's years.
std::optional<std::int64_t> SecondsFromSerial(double serial);
std::optional<double> SerialFromSeconds(std::int64_t seconds);

// English names: month 1-12, weekday 1 (Sunday) to 7.
std::string_view MonthName(int month, bool abbreviated);
std::string_view DayName(int sunday_based_weekday, bool abbreviated);

}  // namespace quellor::tagdll::sql
