// quellor's own options and its usage text. They are taken out of the arguments before the
// command line is joined, so they never reach g_CmdLine: the banner and every message of a build
// are those of the same build without them.
#pragma once

#include <span>
#include <string>

#include "base/option_parser.h"

namespace quellor {

struct QuellorOptions {
  bool help = false;
  bool version = false;
  bool strict = false;
  bool preview = false;
};

// The options and the operands (the command line's words, in order); kInvalidArgument for an
// unknown option.
Result<ParsedArguments<QuellorOptions>> ParseQuellorOptions(std::span<const std::string> args);

// What --help prints: the command, its options and the exit codes.
std::string QuellorUsage();

}  // namespace quellor
