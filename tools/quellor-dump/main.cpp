// quellor-dump SUBCOMMAND OPERAND...: the table of subcommands and the usage text.
#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "quellor-dump/dump_command.h"

namespace quellor::dump {
namespace {

// One entry per format; a new format adds its file and its line here.
constexpr std::array kCommands = {
    DumpCommand{"ddecfg", "FILE", 1,
                "DDE.CFG read as the build reads it: its messages, then the file as the build "
                "would write it back",
                &DumpDdeCfg},
    DumpCommand{"tagbrw", "FILE", 1,
                "TagBrw.DAT: the header items, the remote applications in order, the filters "
                "by key",
                &DumpTagBrw},
    DumpCommand{"tagname", "FOLDER|TAGNAME.X", 1,
                "Tagname.X and Tag_Ext.X of an application folder (or beside the Tagname.X "
                "given): the header, each used record's name, type, parent, members, alarm "
                "group and access name, the free chain",
                &DumpTagname},
    DumpCommand{"ndx", "FILE", 1, "Tagnames.NDX: the name of every record number", &DumpNdx},
};

std::string UsageText() {
  std::string text =
      "usage: quellor-dump SUBCOMMAND OPERAND...\n"
      "       quellor-dump --help | --version\n";
  for (const DumpCommand& command : kCommands) {
    text += "  " + std::string(command.name) + " " + std::string(command.operands) + "\n      " +
            std::string(command.summary) + "\n";
  }
  text +=
      "exit codes: 0 done, 1 an input that cannot be read, is damaged or cut, or is not of its "
      "format, 2 bad usage; texts are shown as UTF-8\n";
  return text;
}

int Usage(std::string_view problem) {
  const std::string text = "quellor-dump: " + std::string(problem) + "\n" + UsageText();
  std::fwrite(text.data(), 1, text.size(), stderr);
  return kExitUsage;
}

int Run(std::span<const std::string> args) {
  if (args.empty()) return Usage("no subcommand");
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    const std::string text = UsageText();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::fputs("quellor-dump " QUELLOR_VERSION "\n", stdout);
    return kExitOk;
  }
  for (const DumpCommand& command : kCommands) {
    if (args[0] != command.name) continue;
    const std::span<const std::string> operands = args.subspan(1);
    if (operands.size() != command.operand_count) {
      return Usage(std::string(command.name) + " takes " + std::string(command.operands));
    }
    return command.run(operands);
  }
  return Usage("unknown subcommand " + args[0]);
}

}  // namespace
}  // namespace quellor::dump

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int code = quellor::dump::Run(args);
  std::fflush(stdout);
  return code;
}
