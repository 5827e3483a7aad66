// quellor-dump SUBCOMMAND [OPTION]... OPERAND...: the options, the table of subcommands and the
// usage text.
#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/option_parser.h"
#include "base/str_cat.h"
#include "quellor-dump/dump_command.h"

namespace quellor::dump {
namespace {

// One entry per format; a new format adds its file and its line here.
constexpr std::array kCommands = {
    DumpCommand{"ddecfg", "FILE", 1, "names|points",
                "DDE.CFG read as the build reads it: its messages, then the file as the build "
                "would write it back",
                &DumpDdeCfg},
    DumpCommand{"tagbrw", "FILE", 1, "apps|filters",
                "TagBrw.DAT: the header items, the remote applications in order, the filters "
                "by key",
                &DumpTagBrw},
    DumpCommand{"tagname", "FOLDER|TAGNAME.X", 1, "",
                "Tagname.X and Tag_Ext.X of an application folder (or beside the Tagname.X "
                "given): the header, each used record's name, type, parent, members, alarm "
                "group and access name, the free chain; as CSV one row per used record with "
                "every field",
                &DumpTagname},
    DumpCommand{"ndx", "FILE", 1, "", "Tagnames.NDX: the name of every record number", &DumpNdx},
};

struct DumpOptions {
  bool help = false;
  bool version = false;
  bool diff = false;
  std::vector<std::string> format;
  std::vector<std::string> table;
};

constexpr std::array<ProgramOption<DumpOptions>, 5> kOptions = {{
    {.name = "--format",
     .help = "text (the default), json (one document of all the text shows) or csv (RFC "
             "4180, a header row, one table)",
     .values = &DumpOptions::format,
     .value_name = "FORMAT"},
    {.name = "--table",
     .help = "with csv: ddecfg names or points, tagbrw apps or filters (the first by default)",
     .values = &DumpOptions::table,
     .value_name = "TABLE"},
    {.name = "--diff",
     .help = "tagname: compare two dictionaries (tags keyed by name without regard to case, "
             "members by name, the save count ignored)",
     .flag = &DumpOptions::diff},
    {.name = "--help",
     .help = "print this text",
     .flag = &DumpOptions::help,
     .other_spellings = "-h"},
    {.name = "--version", .help = "print the version", .flag = &DumpOptions::version},
}};

std::string UsageText() {
  std::string text =
      "usage: quellor-dump SUBCOMMAND [--format text|json|csv] [--table TABLE] OPERAND\n"
      "       quellor-dump tagname --diff [--format text|json|csv] FOLDER_A FOLDER_B\n"
      "       quellor-dump --help | --version\n";
  for (const DumpCommand& command : kCommands) {
    text += StrCat("  ", command.name, " ", command.operands, "\n      ", command.summary, "\n");
    if (!command.tables.empty()) text += StrCat("      CSV tables: ", command.tables, "\n");
  }
  text += "options:\n" + OptionsUsage<DumpOptions>(kOptions);
  text +=
      "exit codes: 0 done, 1 an input that cannot be read, is damaged or cut, or is not of its "
      "format, 2 bad usage; texts are shown as UTF-8\n"
      "tagname --diff exits as diff(1) does: 0 the dictionaries are the same, 1 they differ, 2 "
      "trouble (bad usage, or an operand that cannot be read or holds no sound dictionary)\n";
  return text;
}

int Usage(std::string_view problem) {
  const std::string text = StrCat("quellor-dump: ", problem, "\n", UsageText());
  std::fwrite(text.data(), 1, text.size(), stderr);
  return kExitUsage;
}

// The format named, if it is one.
std::optional<OutputFormat> ParseFormat(std::string_view name) {
  if (name == "text") return OutputFormat::kText;
  if (name == "json") return OutputFormat::kJson;
  if (name == "csv") return OutputFormat::kCsv;
  return std::nullopt;
}

// Whether `table` is one of the "|"-separated `tables`.
bool HasTable(std::string_view tables, std::string_view table) {
  while (!tables.empty()) {
    const std::size_t bar = tables.find('|');
    if (tables.substr(0, bar) == table) return true;
    tables = bar == std::string_view::npos ? std::string_view() : tables.substr(bar + 1);
  }
  return false;
}

int RunCommand(const DumpCommand& command, const DumpOptions& options,
               std::span<const std::string> operands) {
  DumpRequest request;
  request.operands = operands;
  if (options.format.size() > 1) return Usage("one --format only");
  if (!options.format.empty()) {
    const std::optional<OutputFormat> format = ParseFormat(options.format[0]);
    if (!format) return Usage("no format " + options.format[0] + ": say text, json or csv");
    request.format = *format;
  }
  if (!options.table.empty()) {
    if (options.table.size() > 1) return Usage("one --table only");
    if (request.format != OutputFormat::kCsv) return Usage("--table goes with --format csv");
    if (options.diff || !HasTable(command.tables, options.table[0])) {
      return Usage(
          StrCat(command.name, options.diff ? " --diff" : "", " has no table ", options.table[0]));
    }
    request.table = options.table[0];
  } else {
    request.table = command.tables.substr(0, command.tables.find('|'));
  }
  if (options.diff) {
    if (command.run != &DumpTagname) return Usage("--diff compares tag dictionaries only");
    if (operands.size() != 2) return Usage("tagname --diff takes FOLDER_A FOLDER_B");
    return DiffTagname(request);
  }
  if (operands.size() != command.operand_count) {
    return Usage(StrCat(command.name, " takes ", command.operands));
  }
  return command.run(request);
}

int Run(std::span<const std::string> args) {
  Result<ParsedArguments<DumpOptions>> parsed = ParseProgramOptions<DumpOptions>(kOptions, args);
  if (!parsed.ok()) return Usage(parsed.status().message());
  const DumpOptions& options = parsed->values;
  if (options.help) {
    const std::string text = UsageText();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
  }
  if (options.version) {
    std::fputs("quellor-dump " QUELLOR_VERSION "\n", stdout);
    return kExitOk;
  }
  const std::vector<std::string>& words = parsed->operands;
  if (words.empty()) return Usage("no subcommand");
  for (const DumpCommand& command : kCommands) {
    if (words[0] == command.name) {
      return RunCommand(command, options, std::span(words).subspan(1));
    }
  }
  return Usage("unknown subcommand " + words[0]);
}

}  // namespace
}  // namespace quellor::dump

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int code = quellor::dump::Run(args);
  std::fflush(stdout);
  return code;
}
