// quellor-dump tagbrw FILE: TagBrw.DAT as the build loads it: the header items, the remote
// applications in list order, the filters by key (ascending byte order, as the build stores
// them). Texts are quoted; a control byte shows as \xNN and a quote as \". As JSON the same
// items by their names; as CSV the table "apps" (one row per remote application, in order) or
// "filters" (one row per filter, by key). A damaged file shows what was read before the
// damage, then fails.
#include <cstdint>
#include <span>
#include <string>

#include "base/format.h"
#include "quellor-dump/csv_writer.h"
#include "quellor-dump/dump_command.h"
#include "quellor-dump/json_writer.h"
#include "tagbrowser/tag_brw.h"

namespace quellor::dump {
namespace {

// The texts of each element in the file's order, by their item names.
constexpr std::array<std::string_view, 5> kAppItems = {"Name", "Location", "AccessName",
                                                       "ApplicationName", "Guid"};
constexpr std::array<std::string_view, 6> kFilterItems = {"Name",       "Text2", "Text3",
                                                          "FilterText", "Text5", "Text6"};

std::array<const std::string*, 5> AppTexts(const CRemoteApp& app) {
  return {&app.Name, &app.Location, &app.AccessName, &app.ApplicationName, &app.Guid};
}

std::array<const std::string*, 6> FilterTexts(const CUserTagFilter& filter) {
  return {&filter.Name,       &filter.Text2, &filter.Text3,
          &filter.FilterText, &filter.Text5, &filter.Text6};
}

void PrintItem(std::string_view indent, std::string_view name, std::string_view value) {
  PrintLine(StringPrintf("%s%-16s %s", std::string(indent).c_str(), std::string(name).c_str(),
                         std::string(value).c_str()));
}

void PrintValue(std::string_view name, std::uint32_t value) {
  PrintItem("", name, StringPrintf("%u (0x%08X)", value, value));
}

template <std::size_t N>
void PrintTexts(const std::array<std::string_view, N>& items,
                const std::array<const std::string*, N>& texts) {
  for (std::size_t i = 0; i < N; ++i) PrintItem("    ", items[i], Quoted(*texts[i]));
}

void PrintText(const CTagBrw& model) {
  PrintItem("", "Header1", Hex(model.Header1));
  PrintItem("", "HeaderText", Quoted(model.HeaderText));
  PrintItem("", "Header2", Hex(model.Header2));
  PrintValue("HeaderValue1", model.HeaderValue1);
  PrintValue("HeaderValue2", model.HeaderValue2);

  PrintItem("", "RemoteApps", std::to_string(model.RemoteApps.size()));
  int number = 0;
  for (const CRemoteApp& app : model.RemoteApps) {
    PrintLine(StringPrintf("  [%d]", number++));
    PrintTexts(kAppItems, AppTexts(app));
  }
  PrintItem("", "Filters", std::to_string(model.Filters.size()));
  for (const auto& [key, filter] : model.Filters) {
    PrintLine("  key " + Quoted(key));
    PrintTexts(kFilterItems, FilterTexts(*filter));
  }
}

template <std::size_t N>
void WriteTexts(JsonWriter& json, const std::array<std::string_view, N>& items,
                const std::array<const std::string*, N>& texts) {
  for (std::size_t i = 0; i < N; ++i) json.Key(items[i]).String(*texts[i]);
}

void PrintJson(const std::string& host_path, const CTagBrw& model) {
  JsonWriter json;
  json.BeginObject().Key("tagbrw_dat").String(ShownPath(host_path));
  json.Key("Header1").String(Hex(model.Header1)).Key("HeaderText").String(model.HeaderText);
  json.Key("Header2").String(Hex(model.Header2));
  json.Key("HeaderValue1").Int(model.HeaderValue1).Key("HeaderValue2").Int(model.HeaderValue2);
  json.Key("RemoteApps").BeginArray();
  for (const CRemoteApp& app : model.RemoteApps) {
    WriteTexts(json.BeginObject(), kAppItems, AppTexts(app));
    json.End();
  }
  json.End().Key("Filters").BeginArray();
  for (const auto& [key, filter] : model.Filters) {
    json.BeginObject().Key("key").String(key);
    WriteTexts(json, kFilterItems, FilterTexts(*filter));
    json.End();
  }
  PrintUtf8(json.Finish());
}

template <std::size_t N>
std::vector<std::string> Row(std::string first, const std::array<const std::string*, N>& texts) {
  std::vector<std::string> row = {std::move(first)};
  for (const std::string* text : texts) row.push_back(*text);
  return row;
}

template <std::size_t N>
std::vector<std::string> HeaderRow(std::string first,
                                   const std::array<std::string_view, N>& items) {
  std::vector<std::string> row = {std::move(first)};
  for (const std::string_view item : items) row.emplace_back(item);
  return row;
}

void PrintCsv(std::string_view table, const CTagBrw& model) {
  if (table == "filters") {
    PrintCsvRow(HeaderRow("key", kFilterItems));
    for (const auto& [key, filter] : model.Filters) PrintCsvRow(Row(key, FilterTexts(*filter)));
    return;
  }
  PrintCsvRow(HeaderRow("index", kAppItems));
  int number = 0;
  for (const CRemoteApp& app : model.RemoteApps) {
    PrintCsvRow(Row(std::to_string(number++), AppTexts(app)));
  }
}

}  // namespace

int DumpTagBrw(const DumpRequest& request) {
  const std::string& host_path = request.operands[0];
  const std::optional<std::string> bytes = ReadInput(host_path);
  if (!bytes) return kExitBadInput;
  CTagBrw model;
  // A failed load shows the build's box line on standard error itself.
  const Status loaded =
      model.Load({reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
  switch (request.format) {
    case OutputFormat::kText:
      PrintText(model);
      break;
    case OutputFormat::kJson:
      PrintJson(host_path, model);
      break;
    case OutputFormat::kCsv:
      PrintCsv(request.table, model);
      break;
  }
  if (!loaded.ok()) {
    PrintError(ShownPath(host_path) + ": damaged (" + loaded.message() +
               "); shown is what was read before the damage");
    return kExitBadInput;
  }
  return kExitOk;
}

}  // namespace quellor::dump
