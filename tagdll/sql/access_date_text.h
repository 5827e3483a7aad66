// Dates written as text, as Access reads (CDate, DateValue, a date argument) and writes them
// (CStr, Format's General Date) in the fixed regional settings of access_functions.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tagdll/sql/access_date.h"

namespace quellor::tagdll::sql {

// The serial of a date and/or time in text, or nullopt when the text is none. Read are the ISO
// form of sql_type.h, numeric dates month first ("1/2/2024", "1-2-24"; day first when the
// first number cannot be a month, "13/1/2024"; year first when it has four digits,
// "2024/1/2"), month names ("January 2, 2024", "2-Jan-24", "Jan 2024", a weekday name
// ignored), and times ("15:04", "3:04:05 PM", "3 pm") before or after the date; a time alone
// is on 1899-12-30. A one- or two-digit year is 1930-2029. A month and day without a year,
// which Access places in the current year, is refused: a function of the data must not depend
// on the clock.
std::optional<double> ParseDateText(std::string_view text);

// CStr of a date: "M/D/YYYY h:mm:ss AM", the date alone at midnight and the time alone on
// 1899-12-30.
std::string GeneralDateText(const DateTimeParts& parts);
std::string ShortDateText(const DateTimeParts& parts);  // "M/D/YYYY"
std::string LongTimeText(const DateTimeParts& parts);   // "h:mm:ss AM"

}  // namespace quellor::tagdll::sql
