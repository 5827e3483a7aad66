#include "tagdll/sql/access_date.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace quellor::tagdll::sql {
namespace {

constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;
constexpr std::int64_t kSecondsPerDay = 86400;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's days_from_civil).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

// The inverse of DaysFromCivil.
void CivilFromDays(std::int64_t days, DateTimeParts& parts) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  parts.day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  parts.month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  parts.year = static_cast<int>(year_of_era + era * 400 + (parts.month <= 2 ? 1 : 0));
}

const std::int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

// The serial's day numbers reach this far either way within Access's years.
constexpr double kSerialLimit = 3.0e6;

int ReadDigits(std::string_view text, std::size_t pos, std::size_t count, bool& ok) {
  int value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') {
      ok = false;
      return 0;
    }
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::optional<DateTimeParts> PartsFromSerial(double serial) {
  if (!std::isfinite(serial) || std::fabs(serial) > kSerialLimit) return std::nullopt;
  const double whole = std::trunc(serial);
  auto day_number = static_cast<std::int64_t>(whole);
  std::int64_t seconds = std::llround(std::fabs(serial - whole) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {  // rounds up to midnight: the next calendar day
    seconds -= kSecondsPerDay;
    ++day_number;
  }
  DateTimeParts parts;
  CivilFromDays(kEpochDays + day_number, parts);
  if (parts.year < kMinYear || parts.year > kMaxYear) return std::nullopt;
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  return parts;
}

std::optional<double> SerialFromParts(const DateTimeParts& parts) {
  if (parts.year < kMinYear || parts.year > kMaxYear || parts.month < 1 || parts.month > 12 ||
      parts.day < 1 || parts.day > DaysInMonth(parts.year, parts.month) || parts.hour < 0 ||
      parts.hour > 23 || parts.minute < 0 || parts.minute > 59 || parts.second < 0 ||
      parts.second > 59) {
    return std::nullopt;
  }
  const auto days =
      static_cast<double>(DaysFromCivil(parts.year, parts.month, parts.day) - kEpochDays);
  const double time = static_cast<double>(parts.hour * 3600 + parts.minute * 60 + parts.second) /
                      static_cast<double>(kSecondsPerDay);
  return days < 0 ? days - time : days + time;
}

std::int64_t DayNumber(int year, int month, int day) {
  return DaysFromCivil(year, month, day) - kEpochDays;
}

std::string FormatIsoDate(const DateTimeParts& parts) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", parts.year, parts.month,
                parts.day, parts.hour, parts.minute, parts.second);
  return text;
}

std::optional<std::string> IsoDateFromSerial(double serial) {
  const std::optional<DateTimeParts> parts = PartsFromSerial(serial);
  if (!parts) return std::nullopt;
  return FormatIsoDate(*parts);
}

std::optional<DateTimeParts> ParseIsoDate(std::string_view text) {
  constexpr std::string_view kShape = "0000-00-00 00:00:00";
  if (text.size() != kShape.size()) return std::nullopt;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    if (kShape[i] != '0' && text[i] != kShape[i]) return std::nullopt;
  }
  bool ok = true;
  DateTimeParts parts;
  parts.year = ReadDigits(text, 0, 4, ok);
  parts.month = ReadDigits(text, 5, 2, ok);
  parts.day = ReadDigits(text, 8, 2, ok);
  parts.hour = ReadDigits(text, 11, 2, ok);
  parts.minute = ReadDigits(text, 14, 2, ok);
  parts.second = ReadDigits(text, 17, 2, ok);
  if (!ok || !SerialFromParts(parts)) return std::nullopt;
  return parts;
}

std::optional<double> SerialFromIsoDate(std::string_view text) {
  const std::optional<DateTimeParts> parts = ParseIsoDate(text);
  if (!parts) return std::nullopt;
  return SerialFromParts(*parts);
}

}  // namespace quellor::tagdll::sql
