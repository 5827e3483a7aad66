// The command line: any text split with each separator the user's locale may give (none, a
// comma, a semicolon, a TAB, and the text's own first byte), and the project paths derived
// from every field. A line without quotes or line feeds splits exactly at its separators.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "driver/csv_line.h"
#include "driver/project_paths.h"
#include "fuzz_check.h"

namespace {

// The fields joined again: the line itself when it holds no quote and no line feed, less a
// separator at its very end.
void CheckPlainSplit(std::string_view line, char separator, const quellor::CSVLine& fields) {
  if (line.find_first_of("\"\n") != std::string_view::npos) return;
  std::string joined;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) joined += separator;
    joined += fields[i];
  }
  if (!line.empty() && line.back() == separator) line.remove_suffix(1);
  quellor::fuzz::Check(joined == line, "a plain command line splits at its separators");
}

void CheckPaths(std::string_view field) {
  const quellor::ProjectPaths paths = quellor::DeriveProjectPaths(field);
  quellor::fuzz::Check(field.substr(0, paths.project_dir.size()) == paths.project_dir,
                       "the project folder is the start of its field");
  quellor::fuzz::Check(paths.database_path == paths.project_dir + "\\Project.mdb",
                       "the database is inside the project folder");
}

void Split(std::string_view line, std::optional<char> separator) {
  const quellor::CSVLine fields(line, separator);
  for (const std::string& field : fields.fields()) {
    quellor::fuzz::Check(field.find('\n') == std::string::npos, "no field holds a line feed");
    CheckPaths(field);
  }
  if (separator) CheckPlainSplit(line, *separator, fields);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  Split(line, std::nullopt);
  for (const char separator : {',', ';', '\t'}) Split(line, separator);
  if (!line.empty()) Split(line.substr(1), line.front());
  return 0;
}
