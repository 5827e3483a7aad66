// quellor-dump tagbrw FILE: TagBrw.DAT as the build loads it: the header items, the remote
// applications in list order, the filters by key (ascending byte order, as the build stores
// them). Texts are quoted; a control byte shows as \xNN and a quote as \". A damaged file
// shows what was read before the damage, then fails.
#include <cstdint>
#include <span>
#include <string>

#include "base/format.h"
#include "quellor-dump/dump_command.h"
#include "tagbrowser/tag_brw.h"

namespace quellor::dump {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string out;
  for (const std::uint8_t byte : bytes) out += StringPrintf(out.empty() ? "%02X" : " %02X", byte);
  return out;
}

void PrintItem(std::string_view indent, std::string_view name, std::string_view value) {
  PrintLine(StringPrintf("%s%-16s %s", std::string(indent).c_str(), std::string(name).c_str(),
                         std::string(value).c_str()));
}

void PrintValue(std::string_view name, std::uint32_t value) {
  PrintItem("", name, StringPrintf("%u (0x%08X)", value, value));
}

void PrintModel(const CTagBrw& model) {
  PrintItem("", "Header1", Hex(model.Header1));
  PrintItem("", "HeaderText", Quoted(model.HeaderText));
  PrintItem("", "Header2", Hex(model.Header2));
  PrintValue("HeaderValue1", model.HeaderValue1);
  PrintValue("HeaderValue2", model.HeaderValue2);

  PrintItem("", "RemoteApps", std::to_string(model.RemoteApps.size()));
  int number = 0;
  for (const CRemoteApp& app : model.RemoteApps) {
    PrintLine(StringPrintf("  [%d]", number++));
    PrintItem("    ", "Name", Quoted(app.Name));
    PrintItem("    ", "Location", Quoted(app.Location));
    PrintItem("    ", "AccessName", Quoted(app.AccessName));
    PrintItem("    ", "ApplicationName", Quoted(app.ApplicationName));
    PrintItem("    ", "Guid", Quoted(app.Guid));
  }

  PrintItem("", "Filters", std::to_string(model.Filters.size()));
  for (const auto& [key, filter] : model.Filters) {
    PrintLine("  key " + Quoted(key));
    PrintItem("    ", "Name", Quoted(filter->Name));
    PrintItem("    ", "Text2", Quoted(filter->Text2));
    PrintItem("    ", "Text3", Quoted(filter->Text3));
    PrintItem("    ", "FilterText", Quoted(filter->FilterText));
    PrintItem("    ", "Text5", Quoted(filter->Text5));
    PrintItem("    ", "Text6", Quoted(filter->Text6));
  }
}

}  // namespace

int DumpTagBrw(std::span<const std::string> operands) {
  const std::string& host_path = operands[0];
  const std::optional<std::string> bytes = ReadInput(host_path);
  if (!bytes) return kExitBadInput;
  CTagBrw model;
  // A failed load shows the build's box line on standard error itself.
  const Status loaded =
      model.Load({reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
  PrintModel(model);
  if (!loaded.ok()) {
    PrintError(ShownPath(host_path) + ": damaged (" + loaded.message() +
               "); shown is what was read before the damage");
    return kExitBadInput;
  }
  return kExitOk;
}

}  // namespace quellor::dump
