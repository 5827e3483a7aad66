// quellor-dump: prints what Quellor reads and writes, in readable form, as JSON or as CSV, one
// subcommand per format. Each subcommand lives in its own file and is listed in the table of
// main.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The exit codes of a comparison, as diff(1) has them.
inline constexpr int kExitSame = 0;
inline constexpr int kExitDifferent = 1;
inline constexpr int kExitTrouble = 2;

enum class OutputFormat { kText, kJson, kCsv };

struct DumpRequest {
  std::span<const std::string> operands;  // host paths, as typed
  OutputFormat format = OutputFormat::kText;
  // For CSV, the one table printed: one of the command's tables (its first when none is asked).
  std::string_view table;
};

struct DumpCommand {
  std::string_view name;
  std::string_view operands;  // for the usage text, e.g. "FILE"
  std::size_t operand_count;
  // The tables its CSV form can print, "|"-separated; empty when it prints one.
  std::string_view tables;
  std::string_view summary;
  // Runs with exactly operand_count operands and a table it has; returns an exit code.
  int (*run)(const DumpRequest& request);
};

int DumpDdeCfg(const DumpRequest& request);
int DumpTagBrw(const DumpRequest& request);
int DumpTagname(const DumpRequest& request);
int DumpNdx(const DumpRequest& request);
// Two dictionaries compared (operands: the folder or Tagname.X of each); exits as diff(1).
int DiffTagname(const DumpRequest& request);

// Output. Texts are the program's Windows-1252 bytes; they are shown as UTF-8.
void PrintLine(std::string_view text);
// Bytes already in UTF-8, as they stand (a JSON document).
void PrintUtf8(std::string_view text);
// One "quellor-dump: ..." line on standard error.
void PrintError(std::string_view text);

// The whole content of an input file (a host path), read without taking a lock (a build may
// hold it); none, after the reason on standard error, when it cannot be read.
std::optional<std::string> ReadInput(const std::string& host_path);
// A host path as the program's messages show it (Windows-1252).
std::string ShownPath(std::string_view host_path);
// A text in double quotes; a control byte shows as \xNN and a quote as \".
std::string Quoted(std::string_view text);
// Bytes as two-digit hexadecimal numbers separated by blanks.
std::string Hex(std::span<const std::uint8_t> bytes);

}  // namespace quellor::dump
