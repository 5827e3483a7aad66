// quellor-dump ddecfg FILE: DDE.CFG read as the build reads it (text mode, a Ctrl-Z byte ends
// the text), its messages as the build would report them, then the text the build would write
// back: the placeholder fix-up made, and the writer's warnings before it. As JSON the same, with
// each access name and its points; as CSV the table "names" (one row per access name) or
// "points" (one row per DDE point, in each access name's order), the messages on standard
// error.
#include <array>
#include <string>
#include <vector>

#include "accessnames/dde_cfg.h"
#include "base/str_cat.h"
#include "platform/text_mode.h"
#include "quellor-dump/csv_writer.h"
#include "quellor-dump/dump_command.h"
#include "quellor-dump/json_writer.h"
#include "report/report.h"

namespace quellor::dump {
namespace {

// The items of an access name, by their names, in the order the file gives them.
struct NameItem {
  std::string_view name;
  std::string AccName_T::*text = nullptr;
  std::int32_t AccName_T::*number = nullptr;  // when not a text
};
constexpr std::array<NameItem, 9> kNameItems = {{
    {"SourceName", &AccName_T::SourceName},
    {"TopicName", &AccName_T::TopicName},
    {"MasterServer", &AccName_T::MasterServer},
    {"ApplicationName", &AccName_T::ApplicationName},
    {"UnsplitApplicationValue", &AccName_T::UnsplitApplicationValue},
    {"DDESourceID", nullptr, &AccName_T::DDESourceID},
    {"RequestInitialData", nullptr, &AccName_T::RequestInitialData},
    {"AlwaysAdvise", nullptr, &AccName_T::AlwaysAdvise},
    {"SuiteLink", nullptr, &AccName_T::SuiteLink},
}};

struct SecondaryItem {
  std::string_view name;
  std::string SecondarySource_T::*text = nullptr;
  std::int32_t SecondarySource_T::*number = nullptr;
};
constexpr std::array<SecondaryItem, 10> kSecondaryItems = {{
    {"ApplicationName", &SecondarySource_T::ApplicationName},
    {"TopicName", &SecondarySource_T::TopicName},
    {"RequestInitialData", nullptr, &SecondarySource_T::RequestInitialData},
    {"AlwaysAdvise", nullptr, &SecondarySource_T::AlwaysAdvise},
    {"SuiteLink", nullptr, &SecondarySource_T::SuiteLink},
    {"FailoverExpression", &SecondarySource_T::FailoverExpression},
    {"FailoverDeadband", &SecondarySource_T::FailoverDeadband},
    {"DFOFlag", &SecondarySource_T::DFOFlag},
    {"FBDFlag", &SecondarySource_T::FBDFlag},
    {"FailbackDeadband", &SecondarySource_T::FailbackDeadband},
}};

template <typename Item, typename Record>
std::string ItemText(const Item& item, const Record& record) {
  return item.text != nullptr ? record.*item.text : std::to_string(record.*item.number);
}

template <typename Item, typename Record>
void WriteItem(JsonWriter& json, const Item& item, const Record& record) {
  json.Key(item.name);
  item.text != nullptr ? json.String(record.*item.text) : json.Int(record.*item.number);
}

// What the dump shows: the build's messages, the set as it would be written, and its text.
struct DdeCfgDump {
  std::vector<std::string> messages;
  CAccNames names;
  std::vector<std::string> lines;  // of the text written back; none when the build refuses
  bool refused = false;
};

DdeCfgDump Read(const std::string& host_path, const std::string& bytes) {
  DdeCfgDump dump;
  ScopedReportCapture capture;
  if (!ReadDDECfg(ShownPath(host_path), FromCrLf(bytes, CtrlZ::kEndsText), dump.names)) {
    dump.messages = capture.lines();
    dump.refused = true;  // the build refuses the application: nothing is written
    return dump;
  }
  dump.names.FixUpPlaceholder();
  const DDECfgText text = FormatDDECfg(dump.names);
  for (const std::string& warning : text.warnings) Report(warning, 1, 0);
  dump.messages = capture.lines();
  // The text ends in a line end; each of its lines is one line.
  std::string_view rest = text.text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    dump.lines.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return dump;
}

void WriteAccessName(JsonWriter& json, const AccName_T& record) {
  json.BeginObject();
  for (const NameItem& item : kNameItems) WriteItem(json, item, record);
  json.Key("Secondary");
  if (record.Secondary != nullptr) {
    json.BeginObject();
    for (const SecondaryItem& item : kSecondaryItems) WriteItem(json, item, *record.Secondary);
    json.End();
  } else {
    json.Null();
  }
  json.Key("Points").BeginArray();
  if (record.Points != nullptr) {
    record.Points->ForEach([&json](const DDEPoint_T& point) {
      json.BeginObject().Key("TagName").String(point.TagName);
      json.Key("TagIndex").Int(point.TagIndex).Key("ItemName").String(point.ItemName).End();
    });
  }
  json.End().End();
}

void PrintJson(const std::string& host_path, const DdeCfgDump& dump) {
  JsonWriter json;
  json.BeginObject().Key("dde_cfg").String(ShownPath(host_path));
  json.Key("messages").BeginArray();
  for (const std::string& message : dump.messages) json.String(message);
  json.End().Key("refused").Bool(dump.refused);
  json.Key("LastDDESource").Int(dump.names.GetLastDDESource());
  json.Key("AccessNames").BeginArray();
  for (int i = 0; i < dump.names.GetCount(); ++i) WriteAccessName(json, dump.names.GetRecord(i));
  json.End().Key("text").BeginArray();
  for (const std::string& line : dump.lines) json.String(line);
  PrintUtf8(json.Finish());
}

void PrintNamesCsv(const CAccNames& names) {
  std::vector<std::string> row;
  for (const NameItem& item : kNameItems) row.emplace_back(item.name);
  for (const SecondaryItem& item : kSecondaryItems) row.push_back(StrCat("Secondary", item.name));
  row.emplace_back("Points");
  PrintCsvRow(row);
  for (int i = 0; i < names.GetCount(); ++i) {
    const AccName_T& record = names.GetRecord(i);
    row.clear();
    for (const NameItem& item : kNameItems) row.push_back(ItemText(item, record));
    for (const SecondaryItem& item : kSecondaryItems) {
      row.push_back(record.Secondary != nullptr ? ItemText(item, *record.Secondary) : "");
    }
    row.push_back(std::to_string(record.Points != nullptr ? record.Points->size() : 0));
    PrintCsvRow(row);
  }
}

void PrintPointsCsv(const CAccNames& names) {
  PrintCsvRow({"SourceName", "DDESourceID", "TagName", "TagIndex", "ItemName"});
  for (int i = 0; i < names.GetCount(); ++i) {
    const AccName_T& record = names.GetRecord(i);
    if (record.Points == nullptr) continue;
    record.Points->ForEach([&record](const DDEPoint_T& point) {
      PrintCsvRow({record.SourceName, std::to_string(record.DDESourceID), point.TagName,
                   std::to_string(point.TagIndex), point.ItemName});
    });
  }
}

}  // namespace

int DumpDdeCfg(const DumpRequest& request) {
  const std::string& host_path = request.operands[0];
  const std::optional<std::string> bytes = ReadInput(host_path);
  if (!bytes) return kExitBadInput;
  const DdeCfgDump dump = Read(host_path, *bytes);
  switch (request.format) {
    case OutputFormat::kText:
      for (const std::string& message : dump.messages) PrintLine(message);
      for (const std::string& line : dump.lines) PrintLine(line);
      break;
    case OutputFormat::kJson:
      PrintJson(host_path, dump);
      break;
    case OutputFormat::kCsv:
      for (const std::string& message : dump.messages) PrintError(message);
      if (dump.refused) break;
      request.table == "points" ? PrintPointsCsv(dump.names) : PrintNamesCsv(dump.names);
      break;
  }
  return dump.refused ? kExitBadInput : kExitOk;
}

}  // namespace quellor::dump
