#include "tagdll/sql/access_date_text.h"

#include <cstdio>
#include <vector>

#include "base/ascii.h"
#include "tagdll/sql/access_calendar.h"

namespace quellor::tagdll::sql {
namespace {

struct Token {
  enum class Kind { kNumber, kWord, kSeparator };
  Kind kind;
  std::string_view text;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Numbers, words and the separators / - . , : ; blanks only divide. nullopt for any other
// character.
std::optional<std::vector<Token>> Tokenize(std::string_view text) {
  std::vector<Token> tokens;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    std::size_t end = pos + 1;
    if (IsDigit(c)) {
      while (end < text.size() && IsDigit(text[end])) ++end;
      tokens.push_back({Token::Kind::kNumber, text.substr(pos, end - pos)});
    } else if (IsLetter(c)) {
      while (end < text.size() && IsLetter(text[end])) ++end;
      tokens.push_back({Token::Kind::kWord, text.substr(pos, end - pos)});
    } else if (c == '/' || c == '-' || c == '.' || c == ',' || c == ':') {
      tokens.push_back({Token::Kind::kSeparator, text.substr(pos, 1)});
    } else if (!IsAsciiSpace(c)) {
      return std::nullopt;
    }
    pos = end;
  }
  return tokens;
}

// The index 1-12 of the month or 1-7 of the day whose name the word is, or starts with in
// three letters or more; 0 for none.
int NameIndex(std::string_view word, int count, std::string_view (*name)(int, bool)) {
  if (word.size() < 3) return 0;
  for (int index = 1; index <= count; ++index) {
    const std::string_view full = name(index, false);
    if (word.size() <= full.size() && EqualsIgnoreCase(word, full.substr(0, word.size()))) {
      return index;
    }
  }
  return 0;
}

struct Number {
  int value;
  std::size_t digits;
};

// A number that can only be a year: three or four digits, or above 31.
bool IsYear(const Number& number) { return number.digits >= 3 || number.value > 31; }

int FullYear(const Number& number) {
  if (number.digits > 2) return number.value;
  return number.value < 30 ? 2000 + number.value : 1900 + number.value;
}

class DateTextReader {
 public:
  explicit DateTextReader(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  std::optional<double> Read() {
    for (pos_ = 0; pos_ < tokens_.size();) {
      if (!ReadToken()) return std::nullopt;
    }
    if (!AssembleDate()) return std::nullopt;
    return SerialFromParts(parts_);
  }

 private:
  bool ReadToken() {
    const Token& token = tokens_[pos_];
    if (token.kind == Token::Kind::kSeparator) {
      ++pos_;
      return token.text != ":";
    }
    if (token.kind == Token::Kind::kWord) return ReadWord(token.text);
    if (IsSeparatorAt(pos_ + 1, ":") || IsMeridiemAt(pos_ + 1)) return ReadTime();
    const std::optional<Number> number = NumberAt(pos_++);
    if (!number || numbers_.size() == 3) return false;
    numbers_.push_back(*number);
    return true;
  }

  bool ReadWord(std::string_view word) {
    ++pos_;
    if (const int month = NameIndex(word, 12, MonthName); month != 0 && month_ == 0) {
      month_ = month;
      return true;
    }
    return NameIndex(word, 7, DayName) != 0;
  }

  // hour[:minute[:second]] [AM|PM]
  bool ReadTime() {
    if (time_seen_) return false;
    time_seen_ = true;
    int fields[3] = {0, 0, 0};
    for (int& field : fields) {
      const std::optional<Number> number = NumberAt(pos_++);
      if (!number || number->digits > 2) return false;
      field = number->value;
      if (!IsSeparatorAt(pos_, ":")) break;
      ++pos_;
    }
    const char meridiem = IsMeridiemAt(pos_) ? ToUpperAscii(tokens_[pos_++].text[0]) : 0;
    if (meridiem != 0 && fields[0] > 12) return false;
    if (meridiem == 'P' && fields[0] < 12) fields[0] += 12;
    if (meridiem == 'A' && fields[0] == 12) fields[0] = 0;
    parts_.hour = fields[0];
    parts_.minute = fields[1];
    parts_.second = fields[2];
    return true;
  }

  bool AssembleDate() {
    if (month_ != 0) return AssembleNamedMonth();
    if (numbers_.empty()) return time_seen_;  // a time alone: on 1899-12-30
    if (numbers_.size() == 2 && IsYear(numbers_[1])) return Set(numbers_[1], numbers_[0].value, 1);
    if (numbers_.size() != 3) return false;
    if (IsYear(numbers_[0])) return Set(numbers_[0], numbers_[1].value, numbers_[2].value);
    int month = numbers_[0].value;
    int day = numbers_[1].value;
    if (month > 12 && day <= 12) std::swap(month, day);
    return Set(numbers_[2], month, day);
  }

  bool AssembleNamedMonth() {
    if (numbers_.size() == 1 && IsYear(numbers_[0])) return Set(numbers_[0], month_, 1);
    if (numbers_.size() != 2) return false;
    if (IsYear(numbers_[0])) return Set(numbers_[0], month_, numbers_[1].value);
    return Set(numbers_[1], month_, numbers_[0].value);
  }

  bool Set(const Number& year, int month, int day) {
    parts_.year = FullYear(year);
    parts_.month = month;
    parts_.day = day;
    return true;
  }

  std::optional<Number> NumberAt(std::size_t index) const {
    if (index >= tokens_.size() || tokens_[index].kind != Token::Kind::kNumber) return std::nullopt;
    const std::string_view digits = tokens_[index].text;
    if (digits.size() > 4) return std::nullopt;
    int value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return Number{value, digits.size()};
  }

  bool IsSeparatorAt(std::size_t index, std::string_view separator) const {
    return index < tokens_.size() && tokens_[index].text == separator;
  }

  // AM, PM, A or P.
  bool IsMeridiemAt(std::size_t index) const {
    if (index >= tokens_.size() || tokens_[index].kind != Token::Kind::kWord) return false;
    const std::string_view word = tokens_[index].text;
    return EqualsIgnoreCase(word, "AM") || EqualsIgnoreCase(word, "PM") ||
           EqualsIgnoreCase(word, "A") || EqualsIgnoreCase(word, "P");
  }

  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  std::vector<Number> numbers_;
  int month_ = 0;
  bool time_seen_ = false;
  DateTimeParts parts_;
};

}  // namespace

std::optional<double> ParseDateText(std::string_view text) {
  if (const std::optional<double> iso = SerialFromIsoDate(text)) return iso;
  std::optional<std::vector<Token>> tokens = Tokenize(text);
  if (!tokens || tokens->empty()) return std::nullopt;
  return DateTextReader(std::move(*tokens)).Read();
}

std::string ShortDateText(const DateTimeParts& parts) {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d/%d", parts.month, parts.day, parts.year);
  return text;
}

std::string LongTimeText(const DateTimeParts& parts) {
  const int hour = parts.hour % 12 == 0 ? 12 : parts.hour % 12;
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%02d %s", hour, parts.minute, parts.second,
                parts.hour < 12 ? "AM" : "PM");
  return text;
}

std::string GeneralDateText(const DateTimeParts& parts) {
  const bool has_date = !(parts.year == 1899 && parts.month == 12 && parts.day == 30);
  const bool has_time = parts.hour != 0 || parts.minute != 0 || parts.second != 0;
  if (!has_date) return LongTimeText(parts);
  if (!has_time) return ShortDateText(parts);
  return ShortDateText(parts) + " " + LongTimeText(parts);
}

}  // namespace quellor::tagdll::sql
