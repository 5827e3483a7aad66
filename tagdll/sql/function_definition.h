// How each family of Access functions describes its members to the registry: what the
// translator sees (AccessFunction) and what SQLite calls.
#pragma once

#include <sqlite3.h>

#include <span>
#include <string_view>

#include "tagdll/sql/access_functions.h"
#include "tagdll/sql/function_call.h"

namespace quellor::tagdll::sql {

using ScalarImplementation = void (*)(FunctionCall& call);
using AggregateStep = void (*)(sqlite3_context* context, int argc, sqlite3_value** argv);
using AggregateFinal = void (*)(sqlite3_context* context);

struct FunctionDefinition {
  AccessFunction function;
  ScalarImplementation scalar = nullptr;
  AggregateStep step = nullptr;
  AggregateFinal final = nullptr;
  bool dollar_form = false;  // Access also has Name$, the same function here
  bool reads_clock = false;  // not deterministic
  bool takes_null = false;   // a Null argument reaches the implementation; else the result is Null

  constexpr FunctionDefinition DollarForm() const {
    FunctionDefinition copy = *this;
    copy.dollar_form = true;
    return copy;
  }
  constexpr FunctionDefinition TypeHinted() const {
    FunctionDefinition copy = *this;
    copy.function.type_hinted = true;
    return copy;
  }
  constexpr FunctionDefinition ReadsClock() const {
    FunctionDefinition copy = *this;
    copy.reads_clock = true;
    return copy;
  }
  constexpr FunctionDefinition TakesNull() const {
    FunctionDefinition copy = *this;
    copy.takes_null = true;
    return copy;
  }
};

using ResultType = SqlType (*)(std::span<const SqlType> arguments);

template <SqlType kType>
SqlType Returns(std::span<const SqlType> /*arguments*/) {
  return kType;
}
// The type of an argument, kVariant for one the call does not have.
inline SqlType ArgumentType(std::span<const SqlType> arguments, std::size_t index) {
  return index < arguments.size() ? arguments[index] : SqlType::kVariant;
}
inline SqlType ReturnsTypeOfFirst(std::span<const SqlType> arguments) {
  return ArgumentType(arguments, 0);
}

// An Access function (its name as Access spells it) or, with an empty name, a helper of the
// translator's.
constexpr FunctionDefinition Scalar(std::string_view name, std::string_view sqlite_name,
                                    int min_args, int max_args, ResultType result,
                                    ScalarImplementation implementation) {
  return {.function = {name, sqlite_name, min_args, max_args, false, false, result},
          .scalar = implementation};
}
constexpr FunctionDefinition Aggregate(std::string_view name, std::string_view sqlite_name,
                                       ResultType result, AggregateStep step,
                                       AggregateFinal final) {
  return {.function = {name, sqlite_name, 1, 1, false, true, result},
          .step = step,
          .final = final,
          .takes_null = true};
}

// The families, one file each.
std::span<const FunctionDefinition> ConversionFunctions();
std::span<const FunctionDefinition> MathFunctions();
std::span<const FunctionDefinition> TextFunctions();
std::span<const FunctionDefinition> DateFunctions();
std::span<const FunctionDefinition> FormatFunctions();
std::span<const FunctionDefinition> AggregateFunctions();

}  // namespace quellor::tagdll::sql
