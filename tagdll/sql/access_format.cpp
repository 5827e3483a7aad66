// Format's choice between named, number, date and text formats, and the text formats.
#include "tagdll/sql/access_format.h"

#include "base/ascii.h"
#include "tagdll/sql/access_date_text.h"
#include "tagdll/sql/access_number.h"
#include "tagdll/sql/utf8_text.h"

namespace quellor::tagdll::sql {
namespace {

using Kind = AccessValue::Kind;

enum class FormatKind { kNumber, kDate, kText, kGeneralNumber, kGeneralDate, kTruth };

struct NamedFormat {
  std::string_view name;
  FormatKind kind;
  std::string_view custom;  // the custom format it stands for; kTruth: "true;false"
};

// Regional settings: English (United States), negative currency in parentheses.
constexpr NamedFormat kNamedFormats[] = {
    {"General Number", FormatKind::kGeneralNumber, ""},
    {"Currency", FormatKind::kNumber, "$#,##0.00;($#,##0.00)"},
    {"Fixed", FormatKind::kNumber, "0.00"},
    {"Standard", FormatKind::kNumber, "#,##0.00"},
    {"Percent", FormatKind::kNumber, "0.00%"},
    {"Scientific", FormatKind::kNumber, "0.00E+00"},
    {"Yes/No", FormatKind::kTruth, "Yes;No"},
    {"True/False", FormatKind::kTruth, "True;False"},
    {"On/Off", FormatKind::kTruth, "On;Off"},
    {"General Date", FormatKind::kGeneralDate, ""},
    {"Long Date", FormatKind::kDate, "dddddd"},
    {"Medium Date", FormatKind::kDate, "dd-mmm-yy"},
    {"Short Date", FormatKind::kDate, "ddddd"},
    {"Long Time", FormatKind::kDate, "ttttt"},
    {"Medium Time", FormatKind::kDate, "hh:nn AM/PM"},
    {"Short Time", FormatKind::kDate, "hh:nn"},
};

const NamedFormat* FindNamedFormat(std::string_view format) {
  for (const NamedFormat& named : kNamedFormats) {
    if (EqualsIgnoreCase(format, named.name)) return &named;
  }
  return nullptr;
}

bool IsDateToken(std::string_view format, std::size_t pos) {
  const char c = ToLowerAscii(format[pos]);
  if (std::string_view("dmyhnswqc").find(c) != std::string_view::npos) return true;
  if (c == 't') return EqualsIgnoreCase(format.substr(pos, 5), "ttttt");
  return MeridiemLength(format, pos) != 0;
}

// A custom format's kind is that of its first character that has a meaning: a digit
// placeholder, a date or time letter, or a text placeholder. Literals alone format numbers.
FormatKind CustomKind(std::string_view format) {
  for (std::size_t pos = 0; pos < format.size(); ++pos) {
    const char c = format[pos];
    if (c == '"') {
      pos = std::min(format.find('"', pos + 1), format.size());
    } else if (c == '\\') {
      ++pos;
    } else if (c == '0' || c == '#' || c == '.' || c == '%') {
      return FormatKind::kNumber;
    } else if (c == '@' || c == '&' || c == '<' || c == '>' || c == '!') {
      return FormatKind::kText;
    } else if (IsDateToken(format, pos)) {
      return FormatKind::kDate;
    }
  }
  return FormatKind::kNumber;
}

// Text under a text format: @ shows a character or a blank, & a character or nothing; the
// text fills the placeholders from the right (from the left after "!"), and what does not fit
// follows them; < and > show the text in lower or upper case.
std::string FormatText(std::string_view text, std::string_view format) {
  const std::vector<std::string_view> sections = SplitSections(format);
  const std::string_view section = text.empty() && sections.size() > 1 ? sections[1] : sections[0];
  std::u32string characters = DecodeUtf8(text);
  std::size_t placeholders = 0;
  bool from_left = false;
  for (const char c : section) {
    placeholders += c == '@' || c == '&' ? 1 : 0;
    from_left = from_left || c == '!';
  }
  const std::size_t case_mark = section.find_first_of("<>");
  if (case_mark != std::string_view::npos) {
    characters = section[case_mark] == '<' ? ToLowerText(characters) : ToUpperText(characters);
  }
  // Placeholder i shows character i - missing; the first `missing` show none.
  const std::size_t missing =
      from_left || characters.size() >= placeholders ? 0 : placeholders - characters.size();
  std::string out;
  std::size_t placeholder = 0;
  for (std::size_t pos = 0; pos < section.size(); ++pos) {
    const char c = section[pos];
    if (c == '@' || c == '&') {
      const std::size_t slot = placeholder++;
      if (slot < missing || slot - missing >= characters.size()) {
        out += c == '@' ? " " : "";
      } else {
        out += EncodeUtf8(std::u32string_view(characters).substr(slot - missing, 1));
      }
    } else if (c == '"') {
      const std::size_t close = std::min(section.find('"', pos + 1), section.size());
      out += section.substr(pos + 1, close - pos - 1);
      pos = close;
    } else if (c == '\\' && pos + 1 < section.size()) {
      out += section[++pos];
    } else if (c != '<' && c != '>' && c != '!') {
      out += c;
    }
  }
  if (characters.size() > placeholders) {
    out += EncodeUtf8(std::u32string_view(characters).substr(placeholders));
  }
  return out;
}

// The serial a date format shows: a date, a number, or text that reads as a date or a number.
std::optional<DateTimeParts> DateOf(const AccessValue& value) {
  std::optional<double> serial = SerialOf(value);
  if (!serial && value.kind == Kind::kText) serial = ParseAccessNumber(value.text);
  if (!serial) return std::nullopt;
  return PartsFromSerial(*serial);
}

int SignificantDigits(const AccessValue& value) { return value.type == SqlType::kSingle ? 7 : 15; }

std::optional<std::string> FormatAs(FormatKind kind, const AccessValue& value,
                                    std::string_view format, const WeekRules& rules) {
  if (kind == FormatKind::kGeneralDate || kind == FormatKind::kDate) {
    const std::optional<DateTimeParts> date = DateOf(value);
    if (date && kind == FormatKind::kGeneralDate) return GeneralDateText(*date);
    if (date) return FormatDate(*date, format, rules);
  } else if (kind == FormatKind::kText) {
    if (const std::optional<std::string> text = TextOf(value)) return FormatText(*text, format);
  } else if (const std::optional<double> number = NumberOf(value)) {
    if (kind == FormatKind::kGeneralNumber) return NumberText(*number, SignificantDigits(value));
    if (kind == FormatKind::kTruth) return std::string(SplitSections(format)[*number != 0 ? 0 : 1]);
    return FormatNumber(*number, format, SignificantDigits(value));
  }
  return TextOf(value);  // what the format cannot show stays as it is
}

}  // namespace

std::string ZeroPadded(int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

std::vector<std::string_view> SplitSections(std::string_view format) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos < format.size(); ++pos) {
    if (format[pos] == '"') {
      pos = std::min(format.find('"', pos + 1), format.size());
    } else if (format[pos] == '\\') {
      ++pos;
    } else if (format[pos] == ';') {
      sections.push_back(format.substr(start, pos - start));
      start = pos + 1;
    }
  }
  sections.push_back(format.substr(std::min(start, format.size())));
  return sections;
}

std::optional<std::string> FormatValue(const AccessValue& value, std::string_view format,
                                       const WeekRules& rules) {
  if (value.kind == Kind::kNull) return std::nullopt;
  if (format.empty()) return TextOf(value);
  if (const NamedFormat* named = FindNamedFormat(format)) {
    return FormatAs(named->kind, value, named->custom, rules);
  }
  return FormatAs(CustomKind(format), value, format, rules);
}

}  // namespace quellor::tagdll::sql
