// A program's own options, taken out of its arguments before anything else reads them. A program
// declares one table of ProgramOption rows over a struct of its own values: a new option is one
// more row (and the field it sets), and the usage text lists the rows.
//
// An argument is an option when it starts with "--" (matched against the rows' names without
// regard to ASCII case; an unknown one is refused) or equals one of a row's other spellings
// ("-h", "/?"). An option with a value takes it from "--name=VALUE" or from the next argument.
// "--" ends the options. Every other argument is an operand, kept in order.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace quellor {

template <typename Values>
struct ProgramOption {
  std::string_view name;                               // "--strict"
  std::string_view help;                               // its text in the usage
  bool Values::*flag = nullptr;                        // a flag: set when given
  std::vector<std::string> Values::*values = nullptr;  // else every value given, in order
  std::string_view value_name = {};                    // the value in the usage ("DIR")
  std::string_view other_spellings = {};               // blank-separated ("-h /?")
};

template <typename Values>
struct ParsedArguments {
  Values values = {};
  std::vector<std::string> operands;
};

namespace option_parser_internal {

// The name of an option argument ("--name" of "--name=value"), or "" when `arg` is none.
std::string_view OptionName(std::string_view arg);
bool IsSpelledAs(std::string_view name, std::string_view other_spellings, std::string_view arg);
// One option's lines in a usage text.
std::string UsageEntry(std::string_view name, std::string_view value_name,
                       std::string_view other_spellings, std::string_view help);

}  // namespace option_parser_internal

// kInvalidArgument for an unknown option or a value that is missing or not wanted; the message
// says which.
template <typename Values>
Result<ParsedArguments<Values>> ParseProgramOptions(std::span<const ProgramOption<Values>> table,
                                                    std::span<const std::string> args) {
  namespace internal = option_parser_internal;
  ParsedArguments<Values> parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      parsed.operands.insert(parsed.operands.end(), args.begin() + i + 1, args.end());
      break;
    }
    const std::string_view name = internal::OptionName(arg);
    const ProgramOption<Values>* found = nullptr;
    for (const ProgramOption<Values>& option : table) {
      if (internal::IsSpelledAs(option.name, option.other_spellings, name.empty() ? arg : name)) {
        found = &option;
        break;
      }
    }
    if (found == nullptr && !name.empty()) return Status::InvalidArgument("unknown option " + arg);
    if (found == nullptr) {
      parsed.operands.push_back(arg);
      continue;
    }
    const bool inline_value = !name.empty() && name.size() < arg.size();
    if (found->values == nullptr) {
      if (inline_value) return Status::InvalidArgument(std::string(name) + " takes no value");
      parsed.values.*(found->flag) = true;
    } else if (inline_value) {
      (parsed.values.*(found->values)).push_back(arg.substr(name.size() + 1));
    } else if (i + 1 < args.size()) {
      (parsed.values.*(found->values)).push_back(args[++i]);
    } else {
      return Status::InvalidArgument(arg + " needs a value");
    }
  }
  return parsed;
}

// The options part of a usage text: one entry per row, in the table's order.
template <typename Values>
std::string OptionsUsage(std::span<const ProgramOption<Values>> table) {
  std::string text;
  for (const ProgramOption<Values>& option : table) {
    text += option_parser_internal::UsageEntry(option.name, option.value_name,
                                               option.other_spellings, option.help);
  }
  return text;
}

}  // namespace quellor
