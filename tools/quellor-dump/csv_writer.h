// One table as CSV (RFC 4180) on standard output: a header row, then one row per call, each
// line ended by CR LF. A field that holds a comma, a double quote, CR or LF is quoted, its
// quotes doubled. Texts are the program's Windows-1252 bytes and come out as UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quellor::dump {

void PrintCsvRow(const std::vector<std::string>& fields);

// One field as it stands in a row, converted to UTF-8.
std::string CsvField(std::string_view text);

}  // namespace quellor::dump
