// Access's date functions: the parts of a date (Year to Second, Weekday, DatePart), date
// arithmetic (DateAdd, DateDiff), making dates (DateSerial, DateValue), the clock (Now, Date,
// Time) and the translator's conversions between ISO text and serials.
#include <algorithm>
#include <ctime>

#include "base/ascii.h"
#include "tagdll/sql/access_calendar.h"
#include "tagdll/sql/access_number.h"
#include "tagdll/sql/function_definition.h"

namespace quellor::tagdll::sql {
namespace {

using enum SqlType;

enum class Interval {
  kYear,
  kQuarter,
  kMonth,
  kDayOfYear,
  kDay,
  kWeekday,
  kWeek,
  kHour,
  kMinute,
  kSecond
};

std::optional<Interval> IntervalOf(const std::optional<std::string>& text) {
  static constexpr std::pair<std::string_view, Interval> kIntervals[] = {
      {"yyyy", Interval::kYear},   {"q", Interval::kQuarter}, {"m", Interval::kMonth},
      {"y", Interval::kDayOfYear}, {"d", Interval::kDay},     {"w", Interval::kWeekday},
      {"ww", Interval::kWeek},     {"h", Interval::kHour},    {"n", Interval::kMinute},
      {"s", Interval::kSecond}};
  if (!text) return std::nullopt;
  for (const auto& [name, interval] : kIntervals) {
    if (EqualsIgnoreCase(*text, name)) return interval;
  }
  return std::nullopt;
}

std::optional<DateTimeParts> DateArgument(const FunctionCall& call, int index) {
  const std::optional<double> serial = call.Serial(index);
  if (!serial) return std::nullopt;
  return PartsFromSerial(*serial);
}

// The optional firstdayofweek and firstweekofyear arguments at `index` and after.
std::optional<WeekRules> WeekRulesArguments(const FunctionCall& call, int index) {
  const std::optional<std::int32_t> first_day = call.LongOr(index, 0);
  const std::optional<std::int32_t> first_week = call.LongOr(index + 1, 0);
  if (!first_day || !first_week) return std::nullopt;
  return WeekRulesOf(*first_day, *first_week);
}

void SetPart(FunctionCall& call, int (*part)(const DateTimeParts&)) {
  if (const auto parts = DateArgument(call, 0)) call.SetNumber(part(*parts), kInt16);
}

void Year(FunctionCall& call) {
  SetPart(call, [](const DateTimeParts& p) { return p.year; });
}
void Month(FunctionCall& call) {
  SetPart(call, [](const DateTimeParts& p) { return p.month; });
}
void Day(FunctionCall& call) {
  SetPart(call, [](const DateTimeParts& p) { return p.day; });
}
void Hour(FunctionCall& call) {
  SetPart(call, [](const DateTimeParts& p) { return p.hour; });
}
void Minute(FunctionCall& call) {
  SetPart(call, [](const DateTimeParts& p) { return p.minute; });
}
void Second(FunctionCall& call) {
  SetPart(call, [](const DateTimeParts& p) { return p.second; });
}

void DayOfWeek(FunctionCall& call) {
  const auto parts = DateArgument(call, 0);
  const auto rules = WeekRulesArguments(call, 1);
  if (parts && rules) call.SetNumber(Weekday(DayNumberOf(*parts), rules->first_day), kInt16);
}

int PartOf(Interval interval, const DateTimeParts& date, const WeekRules& rules) {
  switch (interval) {
    case Interval::kYear:
      return date.year;
    case Interval::kQuarter:
      return QuarterOf(date.month);
    case Interval::kMonth:
      return date.month;
    case Interval::kDayOfYear:
      return DayOfYear(date);
    case Interval::kDay:
      return date.day;
    case Interval::kWeekday:
      return Weekday(DayNumberOf(date), rules.first_day);
    case Interval::kWeek:
      return WeekOfYear(date, rules);
    case Interval::kHour:
      return date.hour;
    case Interval::kMinute:
      return date.minute;
    case Interval::kSecond:
      return date.second;
  }
  return 0;
}

void DatePart(FunctionCall& call) {
  const auto interval = IntervalOf(call.Text(0));
  const auto date = DateArgument(call, 1);
  const auto rules = WeekRulesArguments(call, 2);
  if (interval && date && rules) call.SetNumber(PartOf(*interval, *date, *rules), kInt16);
}

// Months added keep the day, or the month's last day when it has fewer.
std::optional<double> AddMonths(DateTimeParts date, std::int64_t months) {
  const std::int64_t total = std::int64_t{date.year} * 12 + (date.month - 1) + months;
  if (total < 0 || total >= 12 * 10000) return std::nullopt;
  date.year = static_cast<int>(total / 12);
  date.month = static_cast<int>(total % 12) + 1;
  const std::int64_t next_month =
      date.month == 12 ? DayNumber(date.year + 1, 1, 1) : DayNumber(date.year, date.month + 1, 1);
  const auto month_days = static_cast<int>(next_month - DayNumber(date.year, date.month, 1));
  date.day = std::min(date.day, month_days);
  return SerialFromParts(date);
}

std::optional<double> AddSeconds(double serial, std::int64_t seconds) {
  const std::optional<std::int64_t> start = SecondsFromSerial(serial);
  if (!start) return std::nullopt;
  return SerialFromSeconds(*start + seconds);
}

std::optional<double> DateAdded(Interval interval, std::int64_t count, double serial) {
  const std::optional<DateTimeParts> date = PartsFromSerial(serial);
  if (!date) return std::nullopt;
  switch (interval) {
    case Interval::kYear:
      return AddMonths(*date, count * 12);
    case Interval::kQuarter:
      return AddMonths(*date, count * 3);
    case Interval::kMonth:
      return AddMonths(*date, count);
    case Interval::kWeek:
      return AddSeconds(serial, count * 7 * 86400);
    case Interval::kHour:
      return AddSeconds(serial, count * 3600);
    case Interval::kMinute:
      return AddSeconds(serial, count * 60);
    case Interval::kSecond:
      return AddSeconds(serial, count);
    default:  // the day intervals: y, d and w all add days
      return AddSeconds(serial, count * 86400);
  }
}

void DateAdd(FunctionCall& call) {
  const auto interval = IntervalOf(call.Text(0));
  const auto count = call.Long(1);
  const auto serial = call.Serial(2);
  if (!interval || !count || !serial) return;
  if (const auto sum = DateAdded(*interval, *count, *serial)) call.SetDate(*sum);
}

// DateDiff counts the boundaries of the interval crossed from the first date to the second:
// from December 31 to January 1 is a year, from 10:59 to 11:00 an hour; "w" counts whole
// weeks and "ww" the first days of weeks passed.
std::int64_t DateDifference(Interval interval, const DateTimeParts& from, const DateTimeParts& to,
                            const WeekRules& rules) {
  const std::int64_t days = DayNumberOf(to) - DayNumberOf(from);
  const std::int64_t hours = days * 24 + (to.hour - from.hour);
  const std::int64_t minutes = hours * 60 + (to.minute - from.minute);
  const auto week_start = [&](const DateTimeParts& date) {
    const std::int64_t day = DayNumberOf(date);
    return day - (Weekday(day, rules.first_day) - 1);
  };
  switch (interval) {
    case Interval::kYear:
      return to.year - from.year;
    case Interval::kQuarter:
      return (to.year * 4 + QuarterOf(to.month)) - (from.year * 4 + QuarterOf(from.month));
    case Interval::kMonth:
      return (to.year * 12 + to.month) - (from.year * 12 + from.month);
    case Interval::kWeekday:
      return days / 7;
    case Interval::kWeek:
      return (week_start(to) - week_start(from)) / 7;
    case Interval::kHour:
      return hours;
    case Interval::kMinute:
      return minutes;
    case Interval::kSecond:
      return minutes * 60 + (to.second - from.second);
    default:  // y and d count days
      return days;
  }
}

void DateDiff(FunctionCall& call) {
  const auto interval = IntervalOf(call.Text(0));
  const auto from = DateArgument(call, 1);
  const auto to = DateArgument(call, 2);
  const auto rules = WeekRulesArguments(call, 3);
  if (!interval || !from || !to || !rules) return;
  const std::int64_t difference = DateDifference(*interval, *from, *to, *rules);
  if (difference >= INT32_MIN && difference <= INT32_MAX) {
    call.SetNumber(static_cast<double>(difference), kInt32);
  }
}

// DateSerial: months and days beyond their ranges carry into the next or previous ones
// (month 13 is January of the next year, day 0 the last of the previous month); a year of one
// or two digits is 1930-2029.
void DateSerial(FunctionCall& call) {
  std::optional<std::int16_t> arguments[3];
  for (int i = 0; i < 3; ++i) {
    const std::optional<double> number = call.Number(i);
    if (!number) return;
    arguments[i] = ToInteger(*number);
    if (!arguments[i]) return;
  }
  int year = *arguments[0];
  if (year >= 0 && year < 30) year += 2000;
  if (year >= 30 && year < 100) year += 1900;
  const std::int64_t months = std::int64_t{year} * 12 + *arguments[1] - 1;
  if (months < 0) return;
  const std::int64_t first =
      DayNumber(static_cast<int>(months / 12), static_cast<int>(months % 12) + 1, 1);
  const std::int64_t day = first + *arguments[2] - 1;
  if (PartsFromSerial(static_cast<double>(day))) call.SetDate(static_cast<double>(day));
}

void DateValue(FunctionCall& call) {
  std::optional<DateTimeParts> date = DateArgument(call, 0);
  if (!date) return;
  date->hour = date->minute = date->second = 0;
  if (const auto serial = SerialFromParts(*date)) call.SetDate(*serial);
}

// The local date and time now, to the second.
std::optional<DateTimeParts> LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return std::nullopt;
  return DateTimeParts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
}

void SetParts(FunctionCall& call, const std::optional<DateTimeParts>& parts) {
  if (!parts) return;
  if (const auto serial = SerialFromParts(*parts)) call.SetDate(*serial);
}

void Now(FunctionCall& call) { SetParts(call, LocalNow()); }

void Date(FunctionCall& call) {
  std::optional<DateTimeParts> now = LocalNow();
  if (now) now->hour = now->minute = now->second = 0;
  SetParts(call, now);
}

void Time(FunctionCall& call) {
  std::optional<DateTimeParts> now = LocalNow();
  if (now) now->year = 1899, now->month = 12, now->day = 30;
  SetParts(call, now);
}

void ToSerial(FunctionCall& call) {
  if (const auto serial = call.Serial(0)) call.SetNumber(*serial, kDouble);
}

void FromSerial(FunctionCall& call) {
  if (const auto serial = call.Number(0)) call.SetDate(*serial);
}

const FunctionDefinition kDefinitions[] = {
    Scalar("Year", "access_year", 1, 1, Returns<kInt16>, Year),
    Scalar("Month", "access_month", 1, 1, Returns<kInt16>, Month),
    Scalar("Day", "access_day", 1, 1, Returns<kInt16>, Day),
    Scalar("Hour", "access_hour", 1, 1, Returns<kInt16>, Hour),
    Scalar("Minute", "access_minute", 1, 1, Returns<kInt16>, Minute),
    Scalar("Second", "access_second", 1, 1, Returns<kInt16>, Second),
    Scalar("Weekday", "access_weekday", 1, 2, Returns<kInt16>, DayOfWeek),
    Scalar("DatePart", "access_datepart", 2, 4, Returns<kInt16>, DatePart),
    Scalar("DateAdd", "access_dateadd", 3, 3, Returns<kDate>, DateAdd),
    Scalar("DateDiff", "access_datediff", 3, 5, Returns<kInt32>, DateDiff),
    Scalar("DateSerial", "access_dateserial", 3, 3, Returns<kDate>, DateSerial),
    Scalar("DateValue", "access_datevalue", 1, 1, Returns<kDate>, DateValue),
    Scalar("Now", "access_now", 0, 0, Returns<kDate>, Now).ReadsClock(),
    Scalar("Date", "access_date", 0, 0, Returns<kDate>, Date).ReadsClock(),
    Scalar("Time", "access_time", 0, 0, Returns<kDate>, Time).ReadsClock(),
    Scalar("", "access_to_serial", 1, 1, Returns<kDouble>, ToSerial),
    Scalar("", "access_from_serial", 1, 1, Returns<kDate>, FromSerial),
};

}  // namespace

std::span<const FunctionDefinition> DateFunctions() { return kDefinitions; }

}  // namespace quellor::tagdll::sql
