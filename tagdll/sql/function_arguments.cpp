#include "tagdll/sql/function_arguments.h"

#include "base/ascii.h"

namespace quellor::tagdll::sql {
namespace {

// Each function's arguments in order: t text, n number, v a value as it is (dates included).
// A function missing here takes every argument as a value.
struct Signature {
  std::string_view name;
  std::string_view kinds;
};

constexpr Signature kSignatures[] = {
    {"Asc", "t"},          {"Chr", "n"},          {"DateAdd", "tnv"}, {"DateDiff", "tvvnn"},
    {"DatePart", "tvnn"},  {"DateSerial", "nnn"}, {"Format", "vt"},   {"LCase", "t"},
    {"Left", "tn"},        {"Len", "t"},          {"LTrim", "t"},     {"Mid", "tnn"},
    {"Replace", "tttnnn"}, {"Right", "tn"},       {"Round", "vn"},    {"RTrim", "t"},
    {"Space", "n"},        {"StrComp", "ttn"},    {"String", "nv"},   {"Trim", "t"},
    {"UCase", "t"},        {"Val", "t"},          {"Weekday", "vn"},
};

ArgumentKind KindOf(char kind) {
  switch (kind) {
    case 't':
      return ArgumentKind::kText;
    case 'n':
      return ArgumentKind::kNumber;
    default:
      return ArgumentKind::kValue;
  }
}

}  // namespace

ArgumentKind KindOfArgument(std::string_view function, std::size_t count, std::size_t index) {
  if (!function.empty() && function.back() == '$') function.remove_suffix(1);
  if (EqualsIgnoreCase(function, "InStr")) {  // InStr([start, ]text, sought[, compare])
    const bool has_start = count >= 3;
    return has_start && (index == 0 || index == 3) ? ArgumentKind::kNumber : ArgumentKind::kText;
  }
  for (const Signature& signature : kSignatures) {
    if (!EqualsIgnoreCase(signature.name, function)) continue;
    return index < signature.kinds.size() ? KindOf(signature.kinds[index]) : ArgumentKind::kValue;
  }
  return ArgumentKind::kValue;
}

}  // namespace quellor::tagdll::sql
