// Writing DDE.CFG: the line formats of docs/formats/DDE.CFG.md. Lines are never cut.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

#include "accessnames/dde_cfg.h"
#include "base/format.h"
#include "report/failure_reason.h"
#include "report/report.h"

namespace quellor {
namespace {

class TextBuilder final {
 public:
  explicit TextBuilder(std::string& out) : out_(out) {}

  void Line(std::string_view text) {
    out_ += text;
    out_ += '\n';
  }
  void Line(std::string_view key, std::string_view value) {
    out_ += key;
    Line(value);
  }
  void Line(std::string_view key, std::int32_t value) { Line(key, std::to_string(value)); }

  // "        TAG;hex:  ITEM": the record number as lower-case hexadecimal of at least four
  // digits (a negative number as its 32-bit pattern). The line is sized once and filled, as
  // DDE.CFG holds one per point.
  void Point(const DDEPoint_T& point) {
    constexpr std::string_view kIndent = "        ";
    constexpr std::size_t kMinDigits = 4;
    char hex[8];
    const char* const end =
        std::to_chars(hex, hex + sizeof hex, static_cast<std::uint32_t>(point.TagIndex), 16).ptr;
    const std::size_t digits = static_cast<std::size_t>(end - hex);
    const std::size_t zeros = digits < kMinDigits ? kMinDigits - digits : 0;
    const std::size_t at = out_.size();
    out_.resize(at + kIndent.size() + point.TagName.size() + 1 + zeros + digits + 3 +
                point.ItemName.size() + 1);
    char* next = out_.data() + at;
    next = Put(next, kIndent);
    next = Put(next, point.TagName);
    *next++ = ';';
    next = std::fill_n(next, zeros, '0');
    next = Put(next, std::string_view(hex, digits));
    next = Put(next, ":  ");
    next = Put(next, point.ItemName);
    *next = '\n';
  }

 private:
  static char* Put(char* to, std::string_view text) {
    return std::copy(text.begin(), text.end(), to);
  }

  std::string& out_;
};

std::string ApplicationValue(const AccName_T& record) {
  if (!record.UnsplitApplicationValue.empty()) return record.UnsplitApplicationValue;
  return "\\\\" + record.MasterServer + "\\" + record.ApplicationName;
}

void WriteSecondarySource(TextBuilder& out, const SecondarySource_T& secondary) {
  out.Line("Secondary Data Source");
  out.Line("    Application Name:\t\t", secondary.ApplicationName);
  out.Line("    Topic Name:\t\t\t", secondary.TopicName);
  out.Line("    Request Initial Data:\t", secondary.RequestInitialData);
  out.Line("    Always Advise:\t\t", secondary.AlwaysAdvise);
  out.Line("    SuiteLink:\t\t\t", secondary.SuiteLink);
}

void WriteFailover(TextBuilder& out, const AccName_T& record) {
  const SecondarySource_T& secondary = *record.Secondary;
  out.Line("Begin Failover Information");
  out.Line("    Source Name:\t\t", record.SourceName);
  out.Line("Failover Expression:\t\t\t", secondary.FailoverExpression);
  out.Line("Failover Deadband:\t\t\t", secondary.FailoverDeadband);
  out.Line("DFOFlag:\t\t\t", secondary.DFOFlag);
  out.Line("FBDFlag:\t\t\t", secondary.FBDFlag);
  out.Line("Failback Deadband:\t\t\t", secondary.FailbackDeadband);
  out.Line("End Failover Information");
}

// One source definition. A redundant project access name overrides a secondary source that
// the application defined itself: the secondary source is dropped, with a warning.
void WriteRecord(TextBuilder& out, const AccName_T& record, std::vector<std::string>& warnings) {
  out.Line("Begin DDE Source Definition.");
  out.Line("    Source Name:\t\t", record.SourceName);
  const bool has_secondary = record.Secondary != nullptr;
  const bool redundant = !record.StandbyServer.empty();
  if (has_secondary && redundant) {
    warnings.push_back(
        StringPrintf("Access Name: %s overwritten - defined in project as redundant access name",
                     record.SourceName.c_str()));
  }
  const bool with_secondary = has_secondary && !redundant;
  if (with_secondary) out.Line("Primary Data Source");
  out.Line("    Application Name:\t\t", ApplicationValue(record));
  out.Line("    Topic Name:\t\t\t", record.TopicName);
  out.Line("    DDE Source ID:\t\t", record.DDESourceID);
  out.Line("    Request Initial Data:\t", record.RequestInitialData);
  out.Line("    Always Advise:\t\t", record.AlwaysAdvise);
  out.Line("    SuiteLink:\t\t\t", record.SuiteLink);
  out.Line("    Begin DDE Points");
  if (record.Points != nullptr) {
    record.Points->ForEach([&out](const DDEPoint_T& point) { out.Point(point); });
  }
  out.Line("    End DDE Points");
  if (with_secondary) WriteSecondarySource(out, *record.Secondary);
  out.Line("End DDE Source Definition.");
  if (with_secondary) WriteFailover(out, record);
}

}  // namespace

DDECfgText FormatDDECfg(const CAccNames& names) {
  DDECfgText result;
  TextBuilder out(result.text);
  out.Line("Begin DDE Information.");
  out.Line("Last DDE Source:\t", names.GetLastDDESource());
  for (int i = 0; i < names.GetCount(); ++i) {
    WriteRecord(out, names.GetRecord(i), result.warnings);
  }
  out.Line("End DDE Information.");
  return result;
}

void WriteDDECfg(CAccNames& names, std::string_view path, const ReplaceTextFile& replace) {
  const std::string shown(path);
  names.FixUpPlaceholder();
  const DDECfgText file = FormatDDECfg(names);
  if (const Status replaced = replace(file.text); !replaced.ok()) {
    ReportFileFailure("Failed to create file %s", shown, replaced);
    return;
  }
  for (const std::string& warning : file.warnings) Report(warning, 1, 0);
  Report(StringPrintf("        Created file %s", shown.c_str()), 0, 0);
}

}  // namespace quellor
