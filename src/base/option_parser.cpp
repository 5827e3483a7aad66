#include "base/option_parser.h"

#include "base/ascii.h"

namespace quellor::option_parser_internal {
namespace {

// Where the usage's help texts start, so that they line up.
constexpr std::size_t kHelpColumn = 26;

}  // namespace

std::string_view OptionName(std::string_view arg) {
  if (!arg.starts_with("--") || arg.size() == 2) return {};
  return arg.substr(0, arg.find('='));
}

bool IsSpelledAs(std::string_view name, std::string_view other_spellings, std::string_view arg) {
  if (EqualsIgnoreCase(name, arg)) return true;
  while (!other_spellings.empty()) {
    const std::size_t blank = other_spellings.find(' ');
    if (EqualsIgnoreCase(other_spellings.substr(0, blank), arg)) return true;
    if (blank == std::string_view::npos) break;
    other_spellings.remove_prefix(blank + 1);
  }
  return false;
}

std::string UsageEntry(std::string_view name, std::string_view value_name,
                       std::string_view other_spellings, std::string_view help) {
  std::string entry = "  ";
  entry += name;
  if (!value_name.empty()) entry.append(" ").append(value_name);
  if (!other_spellings.empty()) entry.append(" (also ").append(other_spellings).append(")");
  entry += entry.size() < kHelpColumn ? std::string(kHelpColumn - entry.size(), ' ')
                                      : "\n" + std::string(kHelpColumn, ' ');
  entry.append(help).append("\n");
  return entry;
}

}  // namespace quellor::option_parser_internal
