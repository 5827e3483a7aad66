// Custom date and time formats.
#include "base/ascii.h"
#include "tagdll/sql/access_date_text.h"
#include "tagdll/sql/access_format.h"

namespace quellor::tagdll::sql {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::size_t pos, std::string_view prefix) {
  return text.size() - pos >= prefix.size() &&
         EqualsIgnoreCase(text.substr(pos, prefix.size()), prefix);
}

// The length of the run of letter `c` (any case) at pos.
std::size_t RunLength(std::string_view format, std::size_t pos) {
  const char c = ToLowerAscii(format[pos]);
  std::size_t end = pos;
  while (end < format.size() && ToLowerAscii(format[end]) == c) ++end;
  return end - pos;
}

class DateFormatter {
 public:
  DateFormatter(const DateTimeParts& date, const WeekRules& rules, bool twelve_hour)
      : date_(date), rules_(rules), twelve_hour_(twelve_hour) {}

  // Appends the token at format[pos] and returns its length.
  std::size_t Append(std::string_view format, std::size_t pos, std::string& out) {
    if (const std::size_t length = MeridiemLength(format, pos)) {
      AppendMeridiem(format.substr(pos, length), out);
      after_hour_ = false;
      return length;
    }
    const char letter = ToLowerAscii(format[pos]);
    const std::size_t run = RunLength(format, pos);
    std::size_t used = run;
    switch (letter) {
      case 'd':
        used = std::min<std::size_t>(run, 6);
        out += Days(used);
        break;
      case 'w':
        used = std::min<std::size_t>(run, 2);
        out += std::to_string(used == 1 ? Weekday(DayNumberOf(date_), rules_.first_day)
                                        : WeekOfYear(date_, rules_));
        break;
      case 'm':
        used = std::min<std::size_t>(run, 4);
        out += after_hour_ && used <= 2 ? ZeroPadded(date_.minute, static_cast<int>(used))
                                        : Months(used);
        break;
      case 'y':
        used = run >= 4 ? 4 : run >= 2 ? 2 : 1;
        out += used == 4   ? std::to_string(date_.year)
               : used == 2 ? ZeroPadded(date_.year % 100, 2)
                           : std::to_string(DayOfYear(date_));
        break;
      case 'h':
        used = std::min<std::size_t>(run, 2);
        out += ZeroPadded(Hour(), static_cast<int>(used));
        break;
      case 'n':
        used = std::min<std::size_t>(run, 2);
        out += ZeroPadded(date_.minute, static_cast<int>(used));
        break;
      case 's':
        used = std::min<std::size_t>(run, 2);
        out += ZeroPadded(date_.second, static_cast<int>(used));
        break;
      case 'q':
        used = 1;
        out += std::to_string(QuarterOf(date_.month));
        break;
      case 'c':
        used = 1;
        out += GeneralDateText(date_);
        break;
      case 't':
        if (run < 5) return AppendLiteral(format[pos], out);
        used = 5;
        out += LongTimeText(date_);
        break;
      default:
        return AppendLiteral(format[pos], out);
    }
    after_hour_ = letter == 'h';
    return used;
  }

 private:
  std::size_t AppendLiteral(char c, std::string& out) {
    out += c;
    return 1;
  }

  std::string Days(std::size_t count) const {
    const int weekday = Weekday(DayNumberOf(date_), 1);
    switch (count) {
      case 1:
        return std::to_string(date_.day);
      case 2:
        return ZeroPadded(date_.day, 2);
      case 3:
      case 4:
        return std::string(DayName(weekday, count == 3));
      case 5:
        return ShortDateText(date_);
      default:
        return std::string(DayName(weekday, false)) + ", " +
               std::string(MonthName(date_.month, false)) + " " + std::to_string(date_.day) + ", " +
               std::to_string(date_.year);
    }
  }

  std::string Months(std::size_t count) const {
    if (count <= 2) return ZeroPadded(date_.month, static_cast<int>(count));
    return std::string(MonthName(date_.month, count == 3));
  }

  int Hour() const {
    if (!twelve_hour_) return date_.hour;
    return date_.hour % 12 == 0 ? 12 : date_.hour % 12;
  }

  // The marker in the case it is written in: "AM/PM" gives "PM", "a/p" gives "p".
  void AppendMeridiem(std::string_view marker, std::string& out) const {
    const bool morning = date_.hour < 12;
    if (EqualsIgnoreCase(marker, "AMPM")) {
      out += morning ? "AM" : "PM";
      return;
    }
    const std::size_t slash = marker.find('/');
    const std::string_view chosen = morning ? marker.substr(0, slash) : marker.substr(slash + 1);
    out += chosen;
  }

  const DateTimeParts& date_;
  const WeekRules& rules_;
  bool twelve_hour_;
  bool after_hour_ = false;  // the last token was h or hh: m and mm are minutes
};

bool HasMeridiem(std::string_view format) {
  for (std::size_t pos = 0; pos < format.size(); ++pos) {
    if (format[pos] == '"') {
      pos = std::min(format.find('"', pos + 1), format.size());
    } else if (format[pos] == '\\') {
      ++pos;
    } else if (MeridiemLength(format, pos) != 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::size_t MeridiemLength(std::string_view format, std::size_t pos) {
  // "AMPM" shows the locale's markers, "AM" and "PM" here.
  for (const std::string_view marker : {"AM/PM", "AMPM", "A/P"}) {
    if (StartsWithIgnoringCase(format, pos, marker)) return marker.size();
  }
  return 0;
}

std::string FormatDate(const DateTimeParts& date, std::string_view format, const WeekRules& rules) {
  const std::string_view section = SplitSections(format)[0];
  DateFormatter formatter(date, rules, HasMeridiem(section));
  std::string out;
  for (std::size_t pos = 0; pos < section.size();) {
    const char c = section[pos];
    if (c == '"') {
      const std::size_t close = std::min(section.find('"', pos + 1), section.size());
      out += section.substr(pos + 1, close - pos - 1);
      pos = close + 1;
    } else if (c == '\\' && pos + 1 < section.size()) {
      out += section[pos + 1];
      pos += 2;
    } else {
      pos += formatter.Append(section, pos, out);
    }
  }
  return out;
}

}  // namespace quellor::tagdll::sql
