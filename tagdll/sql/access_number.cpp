#include "tagdll/sql/access_number.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/ascii.h"

namespace quellor::tagdll::sql {
namespace {

constexpr double kCurrencyLimit = 922337203685477.5807;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c, int radix) {
  int value = radix;  // not a digit
  if (IsDigit(c)) value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < radix ? value : -1;
}

// The digits of an &H or &O integer (`text` starts after the "&"), read while they last when
// `whole` is false. A value that fits 16 bits is an Integer and one that fits 32 bits a Long,
// both signed as Access reads them (&HFFFF is -1); nullopt beyond 32 bits or for no digit.
std::optional<double> ParseRadixInteger(std::string_view text, bool whole) {
  if (text.empty()) return std::nullopt;
  const char kind = ToUpperAscii(text[0]);
  const int radix = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
  if (radix == 0) return std::nullopt;
  std::uint64_t value = 0;
  std::size_t count = 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], radix);
    if (digit < 0) {
      if (whole) return std::nullopt;
      break;
    }
    value = value * radix + digit;
    if (value > 0xFFFFFFFFu) return std::nullopt;
    ++count;
  }
  if (count == 0) return std::nullopt;
  if (value <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<double> ParseDecimal(const std::string& decimal) {
  double value = 0;
  const auto [end, error] = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
  if (error != std::errc() || end != decimal.data() + decimal.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// Copies the exponent at text[pos] ("E-5", "d+07") into `decimal` and returns the position
// after it; returns pos unchanged when no exponent with digits starts there.
std::size_t ReadExponent(std::string_view text, std::size_t pos, std::string& decimal) {
  if (pos >= text.size() || (ToUpperAscii(text[pos]) != 'E' && ToUpperAscii(text[pos]) != 'D')) {
    return pos;
  }
  std::size_t end = pos + 1;
  std::string exponent = "e";
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) exponent += text[end++];
  const std::size_t digits_start = end;
  while (end < text.size() && IsDigit(text[end])) exponent += text[end++];
  if (end == digits_start) return pos;
  decimal += exponent;
  return end;
}

// Removes a sign at the front of `text`, if there is one and none was taken yet.
void TakeLeadingSign(std::string_view& text, bool& has_sign, bool& negative) {
  if (has_sign || text.empty() || (text[0] != '+' && text[0] != '-')) return;
  has_sign = true;
  negative = text[0] == '-';
  text = TrimLeftAscii(text.substr(1));
}

}  // namespace

std::optional<double> ParseAccessNumber(std::string_view text) {
  text = TrimAscii(text);
  if (!text.empty() && text[0] == '&') return ParseRadixInteger(text.substr(1), true);
  bool has_sign = false;
  bool negative = false;
  if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    has_sign = negative = true;
    text = TrimAscii(text.substr(1, text.size() - 2));
  }
  TakeLeadingSign(text, has_sign, negative);
  if (!text.empty() && text[0] == '$') text = TrimLeftAscii(text.substr(1));
  TakeLeadingSign(text, has_sign, negative);
  if (!has_sign && !text.empty() && (text.back() == '+' || text.back() == '-')) {
    negative = text.back() == '-';
    text = TrimRightAscii(text.substr(0, text.size() - 1));
  }
  std::string decimal;
  std::size_t pos = 0;
  bool any_digit = false;
  while (pos < text.size() && (IsDigit(text[pos]) || (text[pos] == ',' && any_digit))) {
    if (text[pos] != ',') decimal += text[pos], any_digit = true;
    ++pos;
  }
  if (pos < text.size() && text[pos] == '.') {
    decimal += text[pos++];
    while (pos < text.size() && IsDigit(text[pos])) decimal += text[pos++], any_digit = true;
  }
  if (!any_digit) return std::nullopt;
  if (decimal.front() == '.') decimal.insert(decimal.begin(), '0');
  pos = ReadExponent(text, pos, decimal);
  if (pos != text.size()) return std::nullopt;
  const std::optional<double> value = ParseDecimal(decimal);
  if (!value) return std::nullopt;
  return negative ? -*value : *value;
}

std::optional<double> LeadingNumber(std::string_view text) {
  std::string compact;
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') compact += c;
  }
  if (!compact.empty() && compact[0] == '&') {
    return ParseRadixInteger(std::string_view(compact).substr(1), false).value_or(0);
  }
  std::string decimal;
  std::size_t pos = 0;
  if (pos < compact.size() && (compact[pos] == '+' || compact[pos] == '-')) {
    if (compact[pos] == '-') decimal += '-';
    ++pos;
  }
  bool any_digit = false;
  while (pos < compact.size() && IsDigit(compact[pos])) decimal += compact[pos++], any_digit = true;
  if (pos < compact.size() && compact[pos] == '.') {
    decimal += compact[pos++];
    while (pos < compact.size() && IsDigit(compact[pos])) {
      decimal += compact[pos++], any_digit = true;
    }
  }
  if (!any_digit) return 0.0;
  if (decimal.back() == '.') decimal += '0';
  ReadExponent(compact, pos, decimal);
  const std::size_t point = decimal.find('.');
  if (point == 0 || (point == 1 && decimal[0] == '-')) decimal.insert(point, 1, '0');
  return ParseDecimal(decimal);
}

std::string NumberText(double value, int significant_digits) {
  if (value == 0 || !std::isfinite(value)) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*E", significant_digits - 1, std::fabs(value));
  const std::string_view scientific = buffer;
  const std::size_t e = scientific.find('E');
  const int exponent = std::atoi(buffer + e + 1);
  std::string digits;
  for (const char c : scientific.substr(0, e)) {
    if (IsDigit(c)) digits += c;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string text = value < 0 ? "-" : "";
  if (exponent < -4 || exponent >= significant_digits) {
    text += digits.substr(0, 1);
    if (digits.size() > 1) {
      text += '.';
      text.append(digits, 1);
    }
    char exponent_text[16];
    std::snprintf(exponent_text, sizeof exponent_text, "E%c%02d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    return text + exponent_text;
  }
  if (exponent < 0) {
    text += "0.";
    text.append(static_cast<std::size_t>(-exponent - 1), '0');
    text += digits;
    return text;
  }
  const auto integer_digits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= integer_digits) {
    return text + digits + std::string(integer_digits - digits.size(), '0');
  }
  return text + digits.substr(0, integer_digits) + "." + digits.substr(integer_digits);
}

std::string CurrencyText(double value) {
  char buffer[400];  // the widest double in fixed notation
  std::snprintf(buffer, sizeof buffer, "%.4f", value);
  std::string text = buffer;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

double RoundToDigits(double value, int digits) {
  if (digits <= 0) return RoundHalfEven(value);
  const double scale = std::pow(10.0, digits);
  const double scaled = value * scale;
  // Beyond 2^52 a double holds no fraction: the value is already rounded.
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return value;
  return RoundHalfEven(scaled) / scale;
}

std::optional<double> RoundCurrency(double value) {
  const double scaled = RoundHalfEven(value * 10000);
  if (!(std::fabs(scaled) <= kCurrencyLimit * 10000)) return std::nullopt;
  return scaled / 10000;
}

std::optional<std::int16_t> ToInteger(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

std::optional<std::int32_t> ToLong(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}

std::optional<double> ToSingle(double value) {
  if (!(std::fabs(value) <= FLT_MAX)) return std::nullopt;
  return static_cast<double>(static_cast<float>(value));
}

}  // namespace quellor::tagdll::sql
