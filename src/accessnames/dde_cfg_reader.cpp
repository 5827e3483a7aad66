// Reading DDE.CFG: the grammar of docs/formats/DDE.CFG.md, line by line.
#include <memory>
#include <optional>
#include <utility>

#include "accessnames/dde_cfg.h"
#include "base/ascii.h"
#include "base/format.h"
#include "base/numbers.h"
#include "report/failure_reason.h"
#include "report/report.h"

namespace quellor {
namespace {

// The lines of the text as the reader takes them: one per LF; a NUL byte ends a line's text,
// as the C string functions see it; white space is trimmed at both ends. Lines are never cut.
class LineCursor final {
 public:
  explicit LineCursor(std::string_view text) : rest_(text) {}

  // Moves to the next line; false when the text has ended.
  bool Next() {
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find('\n');
    std::string_view raw = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    line_ = TrimAscii(raw.substr(0, raw.find('\0')));
    return true;
  }
  std::string_view line() const { return line_; }

 private:
  std::string_view rest_;
  std::string_view line_;
};

// The value of a keyword line: the text after its first colon, when the text before it is
// exactly `keyword`.
std::optional<std::string_view> KeywordValue(std::string_view line, std::string_view keyword) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || line.substr(0, colon) != keyword) return std::nullopt;
  return line.substr(colon + 1);
}

class Parser final {
 public:
  Parser(std::string_view text, CAccNames& names) : lines_(text), names_(names) {}

  // Reads the whole text; false at the first fault. Records completed before it stay.
  bool Run() {
    if (!lines_.Next()) return false;  // an empty file
    // Without its first line the header is taken as absent, and so is Last DDE Source.
    if (line() == "Begin DDE Information.") {
      const std::optional<std::int32_t> last = NextNumber("Last DDE Source");
      if (!last) return false;
      names_.SetLastDDESource(*last);
    }
    if (!lines_.Next()) return false;
    while (line() == "Begin DDE Source Definition.") {
      AccName_T record;
      if (!ReadBlock(record)) return false;
      names_.AppendRecord(std::move(record));
      if (!lines_.Next()) return false;
    }
    return line() == "End DDE Information.";
  }

 private:
  std::string_view line() const { return lines_.line(); }

  bool NextIs(std::string_view marker) { return lines_.Next() && line() == marker; }

  std::optional<std::string_view> NextValue(std::string_view keyword) {
    if (!lines_.Next()) return std::nullopt;
    return KeywordValue(line(), keyword);
  }

  // A trimmed value that must not be empty.
  bool NextText(std::string_view keyword, std::string& out) {
    const std::optional<std::string_view> value = NextValue(keyword);
    if (!value || TrimAscii(*value).empty()) return false;
    out = std::string(TrimAscii(*value));
    return true;
  }

  // A trimmed value that may be empty.
  bool NextOptionalText(std::string_view keyword, std::string& out) {
    const std::optional<std::string_view> value = NextValue(keyword);
    if (!value) return false;
    out = std::string(TrimAscii(*value));
    return true;
  }

  // A decimal value. With `colon_optional`, a line without any colon is the number whole.
  std::optional<std::int32_t> NextNumber(std::string_view keyword, bool colon_optional = false) {
    if (!lines_.Next()) return std::nullopt;
    if (colon_optional && line().find(':') == std::string_view::npos) {
      return ReadLeadingDecimal(line());
    }
    const std::optional<std::string_view> value = KeywordValue(line(), keyword);
    if (!value) return std::nullopt;
    return ReadLeadingDecimal(*value);
  }

  bool NextNumberInto(std::string_view keyword, std::int32_t& out, bool colon_optional = false) {
    const std::optional<std::int32_t> value = NextNumber(keyword, colon_optional);
    if (value) out = *value;
    return value.has_value();
  }

  bool ReadBlock(AccName_T& record);
  bool ReadApplication(std::string_view value, AccName_T& record);
  bool ReadPoints(AccName_T& record);
  bool ReadSecondary(SecondarySource_T& secondary);
  bool ReadFailover(SecondarySource_T& secondary);

  LineCursor lines_;
  CAccNames& names_;
};

bool Parser::ReadBlock(AccName_T& record) {
  if (!NextText("Source Name", record.SourceName)) return false;
  if (!lines_.Next()) return false;
  if (line() == "Primary Data Source") {
    record.Secondary = std::make_unique<SecondarySource_T>();
    if (!lines_.Next()) return false;
  }
  const std::optional<std::string_view> application = KeywordValue(line(), "Application Name");
  if (!application || !ReadApplication(TrimLeftAscii(*application), record)) return false;
  if (!NextText("Topic Name", record.TopicName)) return false;
  if (!NextNumberInto("DDE Source ID", record.DDESourceID)) return false;
  if (!NextNumberInto("Request Initial Data", record.RequestInitialData, true)) return false;
  if (!NextNumberInto("Always Advise", record.AlwaysAdvise, true)) return false;
  if (!NextNumberInto("SuiteLink", record.SuiteLink, true)) return false;
  if (!NextIs("Begin DDE Points") || !ReadPoints(record)) return false;
  if (record.Secondary != nullptr && !ReadSecondary(*record.Secondary)) return false;
  if (!NextIs("End DDE Source Definition.")) return false;
  return record.Secondary == nullptr || ReadFailover(*record.Secondary);
}

// "\\NODE\APP" gives a master server and an application; a value without "\\" is the
// application whole. "\\NODE" alone names no application: both fields stay empty and the
// value is kept as it stands, so that it is written back unchanged.
bool Parser::ReadApplication(std::string_view value, AccName_T& record) {
  const std::size_t pair = value.find("\\\\");
  if (pair == std::string_view::npos) {
    record.ApplicationName = std::string(value);
    return !value.empty();
  }
  const std::string_view node_and_application = TrimLeftAscii(value.substr(pair + 2));
  const std::size_t slash = node_and_application.find('\\');
  if (slash == std::string_view::npos) {
    record.UnsplitApplicationValue = std::string(value);
    return true;
  }
  record.MasterServer = std::string(TrimRightAscii(node_and_application.substr(0, slash)));
  record.ApplicationName = std::string(TrimLeftAscii(node_and_application.substr(slash + 1)));
  return !record.ApplicationName.empty();
}

// "TAG;hex:ITEM" lines up to "End DDE Points".
bool Parser::ReadPoints(AccName_T& record) {
  while (true) {
    if (!lines_.Next()) return false;
    if (line() == "End DDE Points") return true;
    const std::size_t semicolon = line().find(';');
    if (semicolon == std::string_view::npos) return false;
    const std::string_view tag = TrimRightAscii(line().substr(0, semicolon));
    const std::string_view rest = TrimLeftAscii(line().substr(semicolon + 1));
    const std::size_t colon = rest.find(':');
    if (tag.empty() || colon == std::string_view::npos) return false;
    const std::string_view item = TrimLeftAscii(rest.substr(colon + 1));
    const std::optional<std::int32_t> index = ReadLeadingHex(TrimRightAscii(rest.substr(0, colon)));
    if (item.empty() || !index) return false;
    if (record.Points == nullptr) record.Points = std::make_unique<DDEPoints>();
    record.Points->Append(DDEPoint_T{std::string(tag), *index, std::string(item)});
  }
}

bool Parser::ReadSecondary(SecondarySource_T& secondary) {
  if (!NextIs("Secondary Data Source")) return false;
  const std::optional<std::string_view> application = NextValue("Application Name");
  if (!application) return false;
  secondary.ApplicationName = std::string(TrimLeftAscii(*application));
  return NextOptionalText("Topic Name", secondary.TopicName) &&
         NextNumberInto("Request Initial Data", secondary.RequestInitialData) &&
         NextNumberInto("Always Advise", secondary.AlwaysAdvise) &&
         NextNumberInto("SuiteLink", secondary.SuiteLink);
}

bool Parser::ReadFailover(SecondarySource_T& secondary) {
  if (!NextIs("Begin Failover Information")) return false;
  // The block names its access name again; any keyword is taken and the value is not used.
  if (!lines_.Next()) return false;
  const std::size_t colon = line().find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  return NextOptionalText("Failover Expression", secondary.FailoverExpression) &&
         NextOptionalText("Failover Deadband", secondary.FailoverDeadband) &&
         NextOptionalText("DFOFlag", secondary.DFOFlag) &&
         NextOptionalText("FBDFlag", secondary.FBDFlag) &&
         NextOptionalText("Failback Deadband", secondary.FailbackDeadband) &&
         NextIs("End Failover Information");
}

}  // namespace

std::string DDECfgPath(std::string_view app_folder) {
  std::string path(app_folder);
  path += "\\DDE.CFG";
  return path;
}

bool ParseDDECfg(std::string_view text, CAccNames& names) { return Parser(text, names).Run(); }

bool ReadDDECfg(std::string_view path, const Result<std::string>& file, CAccNames& names) {
  const std::string shown(path);
  if (!file.ok() && file.status().code() == StatusCode::kNotFound) {
    Report("        No existing Access Name data", 0, 0);
    return true;
  }
  if (!file.ok()) {
    ReportFileFailure("Failed to open %s", shown, file.status());
    return false;
  }
  if (!ParseDDECfg(*file, names)) {
    Report(StringPrintf("Invalid format in file %s", shown.c_str()), 2, 1);
    return false;
  }
  Report(StringPrintf("        Read Access Name data from file %s", shown.c_str()), 0, 0);
  return true;
}

}  // namespace quellor
