#include "tagdll/sql/date_literal.h"

#include <vector>

#include "base/ascii.h"
#include "tagdll/sql/access_date.h"

namespace quellor::tagdll::sql {
namespace {

std::vector<std::string_view> Split(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find_first_of(separators, start);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    if (stop > start) fields.push_back(text.substr(start, stop - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return fields;
}

std::optional<int> Number(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// January to December as 1 to 12, by a prefix of at least three letters of the name.
std::optional<int> MonthByName(std::string_view word) {
  static constexpr std::string_view kMonths[] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                                                 "MAY",       "JUNE",     "JULY",     "AUGUST",
                                                 "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
  if (word.size() < 3) return std::nullopt;
  const std::string upper = ToUpperAscii(word);
  for (int i = 0; i < 12; ++i) {
    if (kMonths[i].substr(0, upper.size()) == upper) return i + 1;
  }
  return std::nullopt;
}

std::optional<int> Year(std::string_view text) {
  const std::optional<int> year = Number(text);
  if (!year || text.size() > 2) return year;
  return *year < 30 ? 2000 + *year : 1900 + *year;
}

bool ReadDate(const std::vector<std::string_view>& fields, DateTimeParts& parts) {
  if (fields.size() != 3) return false;
  std::optional<int> year, month, day;
  if (fields[0].size() == 4 && Number(fields[0])) {  // 1995-12-31
    year = Number(fields[0]);
    month = Number(fields[1]);
    day = Number(fields[2]);
  } else if (MonthByName(fields[1])) {  // 31-Dec-95
    day = Number(fields[0]);
    month = MonthByName(fields[1]);
    year = Year(fields[2]);
  } else if (MonthByName(fields[0])) {  // December 31, 1995
    month = MonthByName(fields[0]);
    day = Number(fields[1]);
    year = Year(fields[2]);
  } else {  // 12/31/95
    month = Number(fields[0]);
    day = Number(fields[1]);
    year = Year(fields[2]);
  }
  if (!year || !month || !day) return false;
  parts.year = *year;
  parts.month = *month;
  parts.day = *day;
  return true;
}

bool ReadTime(std::string_view clock, std::string_view meridiem, DateTimeParts& parts) {
  const std::vector<std::string_view> fields = Split(clock, ":");
  if (fields.size() < 2 || fields.size() > 3) return false;
  const std::optional<int> hour = Number(fields[0]);
  const std::optional<int> minute = Number(fields[1]);
  const std::optional<int> second = fields.size() == 3 ? Number(fields[2]) : 0;
  if (!hour || !minute || !second) return false;
  parts.hour = *hour;
  parts.minute = *minute;
  parts.second = *second;
  if (meridiem.empty()) return true;
  if (parts.hour < 1 || parts.hour > 12) return false;
  const bool pm = EqualsIgnoreCase(meridiem, "PM");
  if (!pm && !EqualsIgnoreCase(meridiem, "AM")) return false;
  parts.hour = parts.hour % 12 + (pm ? 12 : 0);
  return true;
}

}  // namespace

std::optional<std::string> IsoFromDateLiteral(std::string_view literal) {
  std::string_view clock, meridiem;
  std::string date;
  for (const std::string_view word : Split(literal, " \t,")) {
    if (word.find(':') != std::string_view::npos) {
      if (!clock.empty()) return std::nullopt;
      clock = word;
    } else if (EqualsIgnoreCase(word, "AM") || EqualsIgnoreCase(word, "PM")) {
      meridiem = word;
    } else {
      if (!date.empty()) date += '-';
      date += word;
    }
  }
  DateTimeParts parts;  // 1899-12-30 00:00:00 unless the literal says otherwise
  if (date.empty() && clock.empty()) return std::nullopt;
  if (!date.empty() && !ReadDate(Split(date, "/-."), parts)) return std::nullopt;
  if (!clock.empty() && !ReadTime(clock, meridiem, parts)) return std::nullopt;
  if (clock.empty() && !meridiem.empty()) return std::nullopt;
  if (!SerialFromParts(parts)) return std::nullopt;
  return FormatIsoDate(parts);
}

}  // namespace quellor::tagdll::sql
