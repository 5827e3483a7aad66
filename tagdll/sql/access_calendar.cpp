#include "tagdll/sql/access_calendar.h"

namespace quellor::tagdll::sql {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t FloorDivide(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

std::int64_t StartOfWeek(std::int64_t day_number, int first_day) {
  return day_number - (Weekday(day_number, first_day) - 1);
}

std::int64_t StartOfWeekOne(int year, const WeekRules& rules) {
  const std::int64_t january_first = DayNumber(year, 1, 1);
  const std::int64_t week_start = StartOfWeek(january_first, rules.first_day);
  switch (rules.first_week) {
    case FirstWeek::kJanuaryFirst:
      return week_start;
    case FirstWeek::kFirstFourDays:
      return 7 - (january_first - week_start) >= 4 ? week_start : week_start + 7;
    case FirstWeek::kFirstFullWeek:
      return january_first == week_start ? week_start : week_start + 7;
  }
  return week_start;
}

}  // namespace

std::optional<WeekRules> WeekRulesOf(int first_day_of_week, int first_week_of_year) {
  if (first_day_of_week < 0 || first_day_of_week > 7 || first_week_of_year < 0 ||
      first_week_of_year > 3) {
    return std::nullopt;
  }
  WeekRules rules;
  rules.first_day = first_day_of_week == 0 ? 1 : first_day_of_week;
  if (first_week_of_year != 0) rules.first_week = static_cast<FirstWeek>(first_week_of_year);
  return rules;
}

int Weekday(std::int64_t day_number, int first_day) {
  // Day 0, 1899-12-30, was a Saturday: day 6 counting from Sunday as 0.
  const std::int64_t from_sunday = ((day_number + 6) % 7 + 7) % 7;
  return static_cast<int>(((from_sunday - (first_day - 1)) % 7 + 7) % 7) + 1;
}

int WeekOfYear(const DateTimeParts& date, const WeekRules& rules) {
  const std::int64_t day = DayNumberOf(date);
  if (rules.first_week != FirstWeek::kJanuaryFirst && day >= StartOfWeekOne(date.year + 1, rules)) {
    return 1;
  }
  std::int64_t week_one = StartOfWeekOne(date.year, rules);
  if (day < week_one) week_one = StartOfWeekOne(date.year - 1, rules);
  return static_cast<int>((day - week_one) / 7 + 1);
}

int DayOfYear(const DateTimeParts& date) {
  return static_cast<int>(DayNumberOf(date) - DayNumber(date.year, 1, 1) + 1);
}

std::optional<std::int64_t> SecondsFromSerial(double serial) {
  const std::optional<DateTimeParts> parts = PartsFromSerial(serial);
  if (!parts) return std::nullopt;
  return DayNumberOf(*parts) * kSecondsPerDay + parts->hour * 3600 + parts->minute * 60 +
         parts->second;
}

std::optional<double> SerialFromSeconds(std::int64_t seconds) {
  const std::int64_t day = FloorDivide(seconds, kSecondsPerDay);
  const std::int64_t time = seconds - day * kSecondsPerDay;
  std::optional<DateTimeParts> parts = PartsFromSerial(static_cast<double>(day));
  if (!parts) return std::nullopt;
  parts->hour = static_cast<int>(time / 3600);
  parts->minute = static_cast<int>(time / 60 % 60);
  parts->second = static_cast<int>(time % 60);
  return SerialFromParts(*parts);
}

std::string_view MonthName(int month, bool abbreviated) {
  static constexpr std::string_view kNames[] = {"January",   "February", "March",    "April",
                                                "May",       "June",     "July",     "August",
                                                "September", "October",  "November", "December"};
  const std::string_view name = kNames[month - 1];
  return abbreviated ? name.substr(0, 3) : name;
}

std::string_view DayName(int sunday_based_weekday, bool abbreviated) {
  static constexpr std::string_view kNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                "Thursday", "Friday", "Saturday"};
  const std::string_view name = kNames[sunday_based_weekday - 1];
  return abbreviated ? name.substr(0, 3) : name;
}

}  // namespace quellor::tagdll::sql
