// Custom number formats: digit placeholders (0 shows a digit or 0, # a digit or nothing), the
// decimal point, thousands grouping and scaling commas, percent, and E notation.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tagdll/sql/access_format.h"

namespace quellor::tagdll::sql {
namespace {

// A non-negative decimal number as its digits: 0.DIGITS times 10^point. Zero has no digits.
struct Decimal {
  std::string digits;
  int point = 0;
};

// Requires a finite magnitude.
Decimal DecimalOf(double magnitude, int significant_digits) {
  if (magnitude == 0) return {};
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant_digits - 1, magnitude);
  const std::string_view scientific = buffer;
  const std::size_t e = scientific.find('e');
  Decimal decimal;
  for (const char c : scientific.substr(0, e)) {
    if (c >= '0' && c <= '9') decimal.digits += c;
  }
  decimal.point = std::atoi(buffer + e + 1) + 1;
  return decimal;
}

// Keeps the first `keep` digits, rounding half away from zero on the decimal digits.
void RoundDigits(Decimal& decimal, int keep) {
  if (keep >= static_cast<int>(decimal.digits.size())) return;
  const bool up = keep >= 0 && decimal.digits[keep] >= '5';
  decimal.digits.resize(keep < 0 ? 0 : keep);
  if (!up) {
    if (decimal.digits.find_first_not_of('0') == std::string::npos) decimal = {};
    return;
  }
  int i = keep - 1;
  for (; i >= 0 && decimal.digits[i] == '9'; --i) decimal.digits[i] = '0';
  if (i >= 0) {
    ++decimal.digits[i];
  } else {
    decimal.digits.insert(decimal.digits.begin(), '1');  // 9.99 became 10.00
    ++decimal.point;
  }
}

char DigitAt(const Decimal& decimal, int index) {
  return index >= 0 && index < static_cast<int>(decimal.digits.size()) ? decimal.digits[index]
                                                                       : '0';
}

struct Token {
  enum class Kind { kZero, kHash, kPoint, kExponent, kLiteral };
  Kind kind;
  std::string text;  // kLiteral; kExponent: "E+", "E-", "e+" or "e-"
};

struct Pattern {
  std::vector<Token> tokens;
  int integer_places = 0;
  int integer_zeros_from = -1;  // the first integer 0: from there on every place shows a digit
  int fraction_places = 0;
  int exponent_places = 0;
  bool has_point = false;
  bool has_exponent = false;
  bool grouping = false;
  int scaling = 0;  // commas that divide by 1000 each
  bool percent = false;
};

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

Pattern ParsePattern(std::string_view format) {
  Pattern pattern;
  bool in_fraction = false;
  bool in_exponent = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (IsPlaceholder(c)) {
      pattern.tokens.push_back({c == '0' ? Token::Kind::kZero : Token::Kind::kHash, {}});
      if (in_exponent) {
        ++pattern.exponent_places;
      } else if (in_fraction) {
        ++pattern.fraction_places;
      } else {
        if (c == '0' && pattern.integer_zeros_from < 0) {
          pattern.integer_zeros_from = pattern.integer_places;
        }
        ++pattern.integer_places;
      }
    } else if (c == '.' && !in_fraction && !in_exponent) {
      in_fraction = pattern.has_point = true;
      pattern.tokens.push_back({Token::Kind::kPoint, {}});
    } else if (c == ',' && !in_fraction && !in_exponent) {
      std::size_t end = i;
      while (end < format.size() && format[end] == ',') ++end;
      if (end < format.size() && IsPlaceholder(format[end])) {
        pattern.grouping = pattern.integer_places > 0 || pattern.grouping;
      } else if (pattern.integer_places > 0) {
        pattern.scaling += static_cast<int>(end - i);
      } else {
        pattern.tokens.push_back({Token::Kind::kLiteral, std::string(end - i, ',')});
      }
      i = end - 1;
    } else if ((c == 'E' || c == 'e') && i + 1 < format.size() &&
               (format[i + 1] == '+' || format[i + 1] == '-') && !in_exponent) {
      in_exponent = pattern.has_exponent = true;
      pattern.tokens.push_back({Token::Kind::kExponent, std::string(format.substr(i, 2))});
      ++i;
    } else if (c == '"') {
      const std::size_t close = format.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? format.size() : close;
      pattern.tokens.push_back(
          {Token::Kind::kLiteral, std::string(format.substr(i + 1, end - i - 1))});
      i = end;
    } else if (c == '\\' && i + 1 < format.size()) {
      pattern.tokens.push_back({Token::Kind::kLiteral, std::string(1, format[++i])});
    } else {
      pattern.percent = pattern.percent || c == '%';
      pattern.tokens.push_back({Token::Kind::kLiteral, std::string(1, c)});
    }
  }
  return pattern;
}

// Lays the digits into the pattern's placeholders: the integer digits right-aligned (extra
// ones at the first placeholder), the fraction digits left-aligned (trailing zeros dropped
// where # stands), the exponent's digits at least as many as its 0s, and at least one.
class Layout {
 public:
  Layout(const Pattern& pattern, const Decimal& number, int exponent)
      : pattern_(pattern), number_(number), exponent_(exponent) {
    integer_digits_ = number.digits.empty() ? 0 : std::max(number.point, 0);
    shown_places_ = integer_digits_;
    if (pattern.integer_zeros_from >= 0) {
      shown_places_ = std::max(shown_places_, pattern.integer_places - pattern.integer_zeros_from);
    }
  }

  std::string Render() {
    const int fraction_shown = FractionShown();
    enum class Part { kInteger, kFraction, kExponent } part = Part::kInteger;
    int index = 0;  // of the placeholder within its part
    for (const Token& token : pattern_.tokens) {
      switch (token.kind) {
        case Token::Kind::kZero:
        case Token::Kind::kHash:
          if (part == Part::kInteger) AppendIntegerPlace(index);
          if (part == Part::kFraction && index < fraction_shown) out_ += FractionDigit(index);
          if (part == Part::kExponent && index == 0) AppendExponentDigits();
          ++index;
          break;
        case Token::Kind::kPoint:
          if (pattern_.integer_places == 0) AppendIntegerDigits(integer_digits_, 0);
          out_ += '.';
          part = Part::kFraction;
          index = 0;
          break;
        case Token::Kind::kExponent:
          out_ += token.text[0];
          if (exponent_ < 0 || token.text[1] == '+') out_ += exponent_ < 0 ? '-' : '+';
          if (pattern_.exponent_places == 0) AppendExponentDigits();
          part = Part::kExponent;
          index = 0;
          break;
        case Token::Kind::kLiteral:
          out_ += token.text;
          break;
      }
    }
    return out_;
  }

 private:
  char FractionDigit(int index) const { return DigitAt(number_, number_.point + index); }

  // The fraction places that show: trailing # places show no trailing zeros.
  int FractionShown() const {
    std::vector<Token::Kind> places;
    bool in_fraction = false;
    for (const Token& token : pattern_.tokens) {
      if (token.kind == Token::Kind::kExponent) break;
      if (token.kind == Token::Kind::kPoint) in_fraction = true;
      if (in_fraction && (token.kind == Token::Kind::kZero || token.kind == Token::Kind::kHash)) {
        places.push_back(token.kind);
      }
    }
    int shown = static_cast<int>(places.size());
    while (shown > 0 && places[shown - 1] == Token::Kind::kHash &&
           FractionDigit(shown - 1) == '0') {
      --shown;
    }
    return shown;
  }

  // Integer placeholder `index`, counted from the left.
  void AppendIntegerPlace(int index) {
    const int position = pattern_.integer_places - 1 - index;  // 0 is the units
    if (index == 0 && integer_digits_ > pattern_.integer_places) {
      AppendIntegerDigits(integer_digits_ - pattern_.integer_places, pattern_.integer_places);
    }
    if (position < shown_places_) AppendDigit(position);
  }

  // `count` integer digits, the lowest of them at `lowest_position`.
  void AppendIntegerDigits(int count, int lowest_position) {
    for (int i = count - 1; i >= 0; --i) AppendDigit(lowest_position + i);
  }

  void AppendDigit(int position) {
    out_ += DigitAt(number_, integer_digits_ - 1 - position);
    if (pattern_.grouping && position > 0 && position % 3 == 0) out_ += ',';
  }

  void AppendExponentDigits() {
    int zeros = 0;
    bool in_exponent = false;
    for (const Token& token : pattern_.tokens) {
      in_exponent = in_exponent || token.kind == Token::Kind::kExponent;
      if (in_exponent && token.kind == Token::Kind::kZero) ++zeros;
    }
    out_ += ZeroPadded(std::abs(exponent_), zeros);
  }

  const Pattern& pattern_;
  const Decimal& number_;
  int exponent_;
  int integer_digits_;
  int shown_places_;
  std::string out_;
};

// nullopt when the percent sign takes the number beyond a double, Access's overflow.
std::optional<std::string> FormatSection(double magnitude, std::string_view format,
                                         int significant_digits) {
  const Pattern pattern = ParsePattern(format);
  if (pattern.percent) magnitude *= 100;
  magnitude /= std::pow(1000.0, pattern.scaling);
  if (!std::isfinite(magnitude)) return std::nullopt;
  Decimal number = DecimalOf(magnitude, significant_digits);
  int exponent = 0;
  if (pattern.has_exponent && !number.digits.empty()) {
    RoundDigits(number, pattern.integer_places + pattern.fraction_places);
    exponent = number.point - pattern.integer_places;
    number.point = pattern.integer_places;
  } else {
    RoundDigits(number, number.point + pattern.fraction_places);
  }
  return Layout(pattern, number, exponent).Render();
}

}  // namespace

std::optional<std::string> FormatNumber(double value, std::string_view format,
                                        int significant_digits) {
  const std::vector<std::string_view> sections = SplitSections(format);
  if (value < 0 && sections.size() >= 2 && !sections[1].empty()) {
    return FormatSection(-value, sections[1], significant_digits);
  }
  if (value == 0 && sections.size() >= 3 && !sections[2].empty()) {
    return FormatSection(0, sections[2], significant_digits);
  }
  const std::optional<std::string> text =
      FormatSection(std::fabs(value), sections[0], significant_digits);
  if (!text || value >= 0) return text;
  return "-" + *text;
}

}  // namespace quellor::tagdll::sql
