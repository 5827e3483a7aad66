// Access dates: a double counting days from 1899-12-30 00:00, its fraction the time of day. A
// day before 1899-12-30 carries its time as an absolute fraction (-1.25 is 1899-12-29 06:00,
// not 1899-12-28 18:00). In SQLite a date is held as text in one form, "YYYY-MM-DD HH:MM:SS",
// which sorts as the dates do. The calendar is the proleptic Gregorian one, computed here, not
// by the C library (whose calendar is wrong before 1900 and after 2037 on some systems).
// Access's range is the years 100 to 9999.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quellor::tagdll::sql {

struct DateTimeParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The date and time of a serial, rounded to the nearest second (a time that rounds up to
// midnight is the next day's). nullopt outside the years 100 to 9999, or for NaN.
std::optional<DateTimeParts> PartsFromSerial(double serial);
// The serial of a date and time; nullopt when a part is out of its range (month 1-12, the day
// within its month, hour 0-23, minute and second 0-59, years 100 to 9999).
std::optional<double> SerialFromParts(const DateTimeParts& parts);

// Days from 1899-12-30 to that date of the proleptic Gregorian calendar (negative before),
// for any year: the day count of a serial and the arithmetic of dates.
std::int64_t DayNumber(int year, int month, int day);

// "YYYY-MM-DD HH:MM:SS".
std::string FormatIsoDate(const DateTimeParts& parts);
std::optional<std::string> IsoDateFromSerial(double serial);
// Reads exactly the form FormatIsoDate writes; nullopt for anything else.
std::optional<DateTimeParts> ParseIsoDate(std::string_view text);
std::optional<double> SerialFromIsoDate(std::string_view text);

}  // namespace quellor::tagdll::sql
