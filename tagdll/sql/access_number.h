// Numbers as Access converts, rounds and shows them, in the fixed regional settings of
// access_functions.h ("." decimal, "," thousands, "$" currency).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quellor::tagdll::sql {

// Text that Access takes for a number (IsNumeric, CDbl, the arithmetic on text): blanks
// around; one sign, leading or trailing, or parentheses for a negative; a leading "$";
// thousands separators among the integer digits; a fraction; an exponent with E or D; or
// &H hexadecimal and &O octal integers. nullopt for anything else, for no digit at all, and
// for a value beyond a double's range.
std::optional<double> ParseAccessNumber(std::string_view text);

// Val: the number at the start of the text, blanks, tabs and line feeds anywhere ignored;
// reading stops at the first character that does not continue it. 0 when there is none,
// nullopt when it is beyond a double's range (Access's overflow).
std::optional<double> LeadingNumber(std::string_view text);

// A number as CStr shows it: at most `significant_digits` digits (15 for a Double, 7 for a
// Single), no trailing zeros, and E notation ("1E+15", "1E-05") when the exponent is below
// -4 or reaches the digit count. Negative zero shows as "0".
std::string NumberText(double value, int significant_digits = 15);
// A Currency value: its up to four decimals, never E notation.
std::string CurrencyText(double value);

// Half to even to a whole number, as CInt, CLng and Round do (2.5 gives 2, 3.5 gives 4).
double RoundHalfEven(double value);
// Round(value, digits): value scaled by 10^digits, rounded half to even, scaled back.
double RoundToDigits(double value, int digits);
// CCur: half to even at four places; nullopt outside Currency's range.
std::optional<double> RoundCurrency(double value);
// CInt and CLng: half to even, then nullopt outside the type's range.
std::optional<std::int16_t> ToInteger(double value);
std::optional<std::int32_t> ToLong(double value);
// CSng: the nearest float, as a double; nullopt beyond a float's range.
std::optional<double> ToSingle(double value);

}  // namespace quellor::tagdll::sql
