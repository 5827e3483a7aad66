// quellor-dump ndx FILE: Tagnames.NDX, one 129-byte name field per record number from 1; a
// free record's entry is all zeros (as JSON a null name, as CSV an empty one). A part-entry at
// the end is damage.
#include <span>
#include <string>

#include "base/format.h"
#include "quellor-dump/csv_writer.h"
#include "quellor-dump/dump_command.h"
#include "quellor-dump/json_writer.h"
#include "tagdict/tag_layout.h"

namespace quellor::dump {
namespace {

// The name field of entry i (from 0), up to its terminator; empty for a free record.
std::string_view NameAt(std::string_view bytes, std::size_t i) {
  const std::string_view field = bytes.substr(i * tag_layout::kNameWidth, tag_layout::kNameWidth);
  return field.substr(0, field.find('\0'));
}

void Print(const std::string& host_path, std::string_view bytes, std::size_t entries,
           OutputFormat format) {
  switch (format) {
    case OutputFormat::kText:
      PrintLine(
          StringPrintf("Tagnames.NDX %s: %zu entries", ShownPath(host_path).c_str(), entries));
      for (std::size_t i = 0; i < entries; ++i) {
        const std::string_view name = NameAt(bytes, i);
        PrintLine(StringPrintf("%6zu %s", i + 1, name.empty() ? "(free)" : Quoted(name).c_str()));
      }
      return;
    case OutputFormat::kJson: {
      JsonWriter json;
      json.BeginObject().Key("tagnames_ndx").String(ShownPath(host_path));
      json.Key("entries").BeginArray();
      for (std::size_t i = 0; i < entries; ++i) {
        const std::string_view name = NameAt(bytes, i);
        json.BeginObject().Key("record").Int(static_cast<std::int64_t>(i + 1)).Key("name");
        name.empty() ? json.Null() : json.String(name);
        json.End();
      }
      PrintUtf8(json.Finish());
      return;
    }
    case OutputFormat::kCsv:
      PrintCsvRow({"record", "name"});
      for (std::size_t i = 0; i < entries; ++i) {
        PrintCsvRow({std::to_string(i + 1), std::string(NameAt(bytes, i))});
      }
      return;
  }
}

}  // namespace

int DumpNdx(const DumpRequest& request) {
  const std::string& host_path = request.operands[0];
  const std::optional<std::string> bytes = ReadInput(host_path);
  if (!bytes) return kExitBadInput;
  Print(host_path, *bytes, bytes->size() / tag_layout::kNameWidth, request.format);
  if (const std::size_t rest = bytes->size() % tag_layout::kNameWidth; rest != 0) {
    PrintError(ShownPath(host_path) +
               StringPrintf(": damaged (%zu bytes after the last whole entry)", rest));
    return kExitBadInput;
  }
  return kExitOk;
}

}  // namespace quellor::dump
