// Access's Format, for the number, date and text formats that queries use, in the fixed
// regional settings of access_functions.h.
//
// A format is a named one ("Currency", "Short Date", "Yes/No", ...; case ignored) or a custom
// one of up to four sections divided by ";" (positive; negative; zero; Null for numbers, text;
// empty text for text). Which kind of custom format it is follows from its characters: date
// and time letters (d m y h n s w q c ttttt AM/PM) make a date format, @ & < > ! a text format,
// anything else a number format (0 # . , % E+ E-). Everywhere "\x" is the character x and
// "..." a literal text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tagdll/sql/access_calendar.h"
#include "tagdll/sql/access_value.h"

namespace quellor::tagdll::sql {

// Format(value, format): nullopt for Null, and the value's text unchanged when it cannot be
// what the format shows (Format("abc", "0.00") is "abc").
std::optional<std::string> FormatValue(const AccessValue& value, std::string_view format,
                                       const WeekRules& rules);

// The parts shared by the format files.

// A non-negative number with at least `width` digits, zeros in front.
std::string ZeroPadded(int value, int width);

// The sections of a custom format, divided by ";" outside quotes and after no "\".
std::vector<std::string_view> SplitSections(std::string_view format);

// A number under a custom number format. Digits beyond `significant_digits` (15 for a
// Double, 7 for a Single) are not shown; the last one shown is rounded half away from zero.
// A negative number takes the second section without a sign, or the first with "-" before
// it; zero takes the third section when there is one. nullopt when a percent sign takes the
// number beyond a double's range.
std::optional<std::string> FormatNumber(double value, std::string_view format,
                                        int significant_digits);

// The length of the AM/PM marker (AM/PM, AMPM or A/P, any case) at format[pos], or 0.
std::size_t MeridiemLength(std::string_view format, std::size_t pos);

// A date under a custom date format: d dd ddd dddd ddddd (short date) dddddd (long date), w
// ww, m mm mmm mmmm (m and mm after h or hh are minutes), q, y (day of the year) yy yyyy, h hh
// (12-hour when an AM/PM marker is present), n nn, s ss, ttttt (long time), c (general date),
// AM/PM am/pm A/P a/p AMPM, "/" and ":".
std::string FormatDate(const DateTimeParts& date, std::string_view format, const WeekRules& rules);

}  // namespace quellor::tagdll::sql
