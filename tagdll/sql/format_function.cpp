// Format(value[, format[, firstdayofweek[, firstweekofyear]]]) as an SQLite function.
#include "tagdll/sql/access_format.h"
#include "tagdll/sql/function_definition.h"

namespace quellor::tagdll::sql {
namespace {

using enum SqlType;

void Format(FunctionCall& call) {
  const std::optional<std::string> format = call.size() > 1 ? call.Text(1) : std::string();
  const std::optional<std::int32_t> first_day = call.LongOr(2, 0);
  const std::optional<std::int32_t> first_week = call.LongOr(3, 0);
  if (!format || !first_day || !first_week) return;
  const std::optional<WeekRules> rules = WeekRulesOf(*first_day, *first_week);
  if (!rules) return;
  if (const std::optional<std::string> text = FormatValue(call.Value(0), *format, *rules)) {
    call.SetText(*text);
  }
}

const FunctionDefinition kDefinitions[] = {
    Scalar("Format", "access_format", 1, 4, Returns<kText>, Format).TypeHinted().DollarForm(),
};

}  // namespace

std::span<const FunctionDefinition> FormatFunctions() { return kDefinitions; }

}  // namespace quellor::tagdll::sql
