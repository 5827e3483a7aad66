// quellor-dump ddecfg FILE: DDE.CFG read as the build reads it (text mode, a Ctrl-Z byte ends
// the text), its messages as the build would report them, then the text the build would write
// back: the placeholder fix-up made, and the writer's warnings before it.
#include <string>

#include "accessnames/dde_cfg.h"
#include "platform/text_mode.h"
#include "quellor-dump/dump_command.h"
#include "report/report.h"

namespace quellor::dump {
namespace {

void PrintMessages(ScopedReportCapture& capture) {
  for (const std::string& line : capture.lines()) PrintLine(line);
  capture.Clear();
}

}  // namespace

int DumpDdeCfg(std::span<const std::string> operands) {
  const std::string& host_path = operands[0];
  const std::optional<std::string> bytes = ReadInput(host_path);
  if (!bytes) return kExitBadInput;
  ScopedReportCapture capture;
  CAccNames names;
  const bool build = ReadDDECfg(ShownPath(host_path), FromCrLf(*bytes, CtrlZ::kEndsText), names);
  PrintMessages(capture);
  if (!build) return kExitBadInput;  // the build refuses the application: nothing is written

  names.FixUpPlaceholder();
  const DDECfgText text = FormatDDECfg(names);
  for (const std::string& warning : text.warnings) Report(warning, 1, 0);
  PrintMessages(capture);
  // The text ends in a line end; each of its lines is printed as one line.
  std::string_view rest = text.text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    PrintLine(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return kExitOk;
}

}  // namespace quellor::dump
