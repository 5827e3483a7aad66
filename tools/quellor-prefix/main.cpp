// quellor-prefix create|check [--prefix DIR] [--drive X:=HOSTDIR]...: the options and the usage.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "base/option_parser.h"
#include "platform/env.h"
#include "platform/prefix.h"
#include "quellor-prefix/prefix_tool.h"

namespace quellor::prefix_tool {
namespace {

struct PrefixOptions {
  bool help = false;
  bool version = false;
  std::vector<std::string> prefix;
  std::vector<std::string> drives;
};

constexpr std::array<ProgramOption<PrefixOptions>, 4> kOptions = {{
    {.name = "--prefix",
     .help = "the machine folder (default: $QUELLOR_PREFIX, else $HOME/.quellor)",
     .values = &PrefixOptions::prefix,
     .value_name = "DIR"},
    {.name = "--drive",
     .help = "create: map drive X: to HOSTDIR (C: is DIR/drive_c unless given)",
     .values = &PrefixOptions::drives,
     .value_name = "X:=HOSTDIR"},
    {.name = "--help",
     .help = "print this text",
     .flag = &PrefixOptions::help,
     .other_spellings = "-h"},
    {.name = "--version", .help = "print the version", .flag = &PrefixOptions::version},
}};

std::string Usage() {
  return "usage: quellor-prefix create [--prefix DIR] [--drive X:=HOSTDIR]...\n"
         "       quellor-prefix check [--prefix DIR]\n"
         "  create makes the folder that plays the Windows machine of a build: the registry\n"
         "  file with the keys a build reads, the drive links, the HMI installation and the\n"
         "  suite's shell application; what exists is kept. check says where a build finds each\n"
         "  key, file and link, and what is missing with the command that fixes it.\n"
         "Options:\n" +
         OptionsUsage<PrefixOptions>(kOptions) +
         "Exit codes: 0 done (check: nothing missing), 1 something missing or not made, 2 bad "
         "usage\n";
}

int UsageError(const std::string& problem) {
  const std::string text = "quellor-prefix: " + problem + "\n" + Usage();
  std::fputs(text.c_str(), stderr);
  return kExitUsage;
}

int Run(const std::vector<std::string>& args) {
  Result<ParsedArguments<PrefixOptions>> parsed =
      ParseProgramOptions<PrefixOptions>(kOptions, args);
  if (!parsed.ok()) return UsageError(parsed.status().message());
  const PrefixOptions& options = parsed->values;
  if (options.help) {
    std::fputs(Usage().c_str(), stdout);
    return kExitOk;
  }
  if (options.version) {
    std::fputs("quellor-prefix " QUELLOR_VERSION "\n", stdout);
    return kExitOk;
  }
  const std::vector<std::string>& operands = parsed->operands;
  if (operands.size() != 1 || (operands[0] != "create" && operands[0] != "check")) {
    return UsageError("say create or check");
  }
  if (options.prefix.size() > 1) return UsageError("one --prefix only");
  if (!options.prefix.empty()) {
    const std::optional<std::string> dir = AbsolutePath(options.prefix[0]);
    if (!dir) return UsageError("--prefix names no folder");
    UsePrefixDir(*dir);
    Env::Default().Reset();
  }
  if (operands[0] == "check") {
    if (!options.drives.empty()) return UsageError("--drive is for create");
    return CheckMachine();
  }
  std::vector<DriveMapping> drives;
  for (const std::string& text : options.drives) {
    const std::optional<DriveMapping> drive = ParseDriveMapping(text);
    if (!drive) return UsageError("--drive " + text + ": say X:=HOSTDIR");
    drives.push_back(*drive);
  }
  const PrefixLocation prefix = LocatePrefix();
  if (prefix.dir.empty()) return UsageError("no machine folder: give --prefix DIR");
  return CreateMachine(prefix.dir, drives, FindDataDir());
}

}  // namespace

void Say(std::string_view tag, std::string_view text) {
  std::string line(tag);
  line.resize(std::max<std::size_t>(line.size() + 1, 9), ' ');
  line.append(text).append("\n");
  std::fputs(line.c_str(), stdout);
}

}  // namespace quellor::prefix_tool

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int code = quellor::prefix_tool::Run(args);
  std::fflush(stdout);
  return code;
}
