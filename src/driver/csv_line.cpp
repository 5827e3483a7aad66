#include "driver/csv_line.h"

namespace quellor {

CSVLine::CSVLine(std::string_view line, std::optional<char> separator) {
  const auto is_separator = [&](char c) { return separator.has_value() && c == *separator; };
  std::size_t at = 0;
  // Each turn of the loop is one field: it starts at a character and ends at a separator
  // outside quotes, or at the end of the text.
  while (at < line.size()) {
    std::string field;
    bool quoted = false;
    bool stored = false;
    while (at < line.size() && !stored) {
      const char c = line[at++];
      if (c == '\n') {
        quoted = false;  // a line feed is dropped and also ends a quoted stretch
      } else if (quoted) {
        if (c != '"') {
          field += c;
        } else if (at < line.size() && line[at] == '"') {
          field += '"';
          ++at;
        } else {
          quoted = false;
        }
      } else if (is_separator(c)) {
        stored = true;
      } else if (c == '"') {
        quoted = true;
      } else {
        field += c;
      }
    }
    fields_.push_back(std::move(field));
  }
}

}  // namespace quellor
