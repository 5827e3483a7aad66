// quellor-dump: prints what Quellor reads and writes, in readable form, one subcommand per
// format. Each subcommand lives in its own file and is listed in the table of main.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/status.h"

namespace quellor::dump {

// The exit codes of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 1;  // unreadable or damaged input
inline constexpr int kExitUsage = 2;

struct DumpCommand {
  std::string_view name;
  std::string_view operands;  // for the usage text, e.g. "FILE"
  std::size_t operand_count;
  std::string_view summary;
  // Runs with exactly operand_count operands (host paths, as typed); returns an exit code.
  int (*run)(std::span<const std::string> operands);
};

int DumpDdeCfg(std::span<const std::string> operands);
int DumpTagBrw(std::span<const std::string> operands);
int DumpTagname(std::span<const std::string> operands);
int DumpNdx(std::span<const std::string> operands);

// Output. Texts are the program's Windows-1252 bytes; they are shown as UTF-8.
void PrintLine(std::string_view text);
// One "quellor-dump: ..." line on standard error.
void PrintError(std::string_view text);

// The whole content of an input file (a host path), read without taking a lock (a build may
// hold it); none, after the reason on standard error, when it cannot be read.
std::optional<std::string> ReadInput(const std::string& host_path);
// A host path as the program's messages show it (Windows-1252).
std::string ShownPath(std::string_view host_path);
// A text in double quotes; a control byte shows as \xNN and a quote as \".
std::string Quoted(std::string_view text);

}  // namespace quellor::dump
