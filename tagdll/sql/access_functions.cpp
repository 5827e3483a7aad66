// The registry: every family's functions, found by their Access names and registered on a
// connection.
#include "tagdll/sql/access_functions.h"

#include <array>
#include <new>
#include <stdexcept>
#include <string>

#include "base/ascii.h"
#include "tagdll/sql/function_definition.h"

namespace quellor::tagdll::sql {
namespace {

const std::array<std::span<const FunctionDefinition>, 6>& Families() {
  static const std::array<std::span<const FunctionDefinition>, 6> kFamilies = {
      ConversionFunctions(), MathFunctions(),   TextFunctions(),
      DateFunctions(),       FormatFunctions(), AggregateFunctions()};
  return kFamilies;
}

// SQLite's entry for every scalar function: Null arguments give Null unless the function
// takes them, and an allocation failure is SQLite's out-of-memory error, never an exception
// through SQLite's frames.
void CallScalar(sqlite3_context* context, int argc, sqlite3_value** argv) {
  const auto* definition = static_cast<const FunctionDefinition*>(sqlite3_user_data(context));
  FunctionCall call(context, argc, argv, definition->function.type_hinted);
  if (!definition->takes_null && call.AnyNull()) return;
  try {
    definition->scalar(call);
  } catch (const std::bad_alloc&) {
    sqlite3_result_error_nomem(context);
  } catch (const std::length_error&) {
    sqlite3_result_error_nomem(context);
  }
}

int Register(sqlite3* connection, const FunctionDefinition& definition) {
  const AccessFunction& function = definition.function;
  const std::string name(function.sqlite_name);
  int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS;
  if (!definition.reads_clock) flags |= SQLITE_DETERMINISTIC;
  const int hint = function.type_hinted ? 1 : 0;
  for (int count = function.min_args; count <= function.max_args; ++count) {
    auto* user_data = const_cast<FunctionDefinition*>(&definition);
    const int result =
        function.aggregate
            ? sqlite3_create_function_v2(connection, name.c_str(), count + hint, flags, user_data,
                                         nullptr, definition.step, definition.final, nullptr)
            : sqlite3_create_function_v2(connection, name.c_str(), count + hint, flags, user_data,
                                         CallScalar, nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) return result;
  }
  return SQLITE_OK;
}

}  // namespace

const AccessFunction* FindAccessFunction(std::string_view name) {
  const bool dollar = !name.empty() && name.back() == '$';
  if (dollar) name.remove_suffix(1);
  for (const std::span<const FunctionDefinition> family : Families()) {
    for (const FunctionDefinition& definition : family) {
      if (definition.function.name.empty() || !EqualsIgnoreCase(definition.function.name, name)) {
        continue;
      }
      return dollar && !definition.dollar_form ? nullptr : &definition.function;
    }
  }
  return nullptr;
}

int RegisterAccessFunctions(sqlite3* connection) {
  for (const std::span<const FunctionDefinition> family : Families()) {
    for (const FunctionDefinition& definition : family) {
      if (const int result = Register(connection, definition); result != SQLITE_OK) return result;
    }
  }
  return SQLITE_OK;
}

}  // namespace quellor::tagdll::sql
