// CSV rows: the quoting rule of RFC 4180 and the conversion to UTF-8.
#include "quellor-dump/csv_writer.h"

#include <cstdio>

#include "base/cp1252.h"

namespace quellor::dump {

std::string CsvField(std::string_view text) {
  const std::string utf8 = Cp1252ToUtf8(text);
  if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
  std::string out = "\"";
  for (const char c : utf8) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

void PrintCsvRow(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += CsvField(fields[i]);
  }
  line += "\r\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace quellor::dump
