// Access's aggregates that SQLite lacks: First and Last (the value of the group's first or
// last row, Null included), and the sample and population statistics StDev, StDevP, Var and
// VarP (Null values skipped).
#include <cmath>

#include "tagdll/sql/function_definition.h"

namespace quellor::tagdll::sql {
namespace {

using enum SqlType;

// The kept value of First and Last, owned: SQLite frees an aggregate's context memory but
// not what it points to, so the final call frees it.
struct KeptValue {
  sqlite3_value* value;
  bool seen;
};

KeptValue* KeptValueOf(sqlite3_context* context, bool create) {
  return static_cast<KeptValue*>(
      sqlite3_aggregate_context(context, create ? sizeof(KeptValue) : 0));
}

void Keep(sqlite3_context* context, sqlite3_value* value, bool replace) {
  KeptValue* kept = KeptValueOf(context, true);
  if (kept != nullptr && kept->seen && !replace) return;
  sqlite3_value* copy = kept != nullptr ? sqlite3_value_dup(value) : nullptr;
  if (copy == nullptr) {
    sqlite3_result_error_nomem(context);
    return;
  }
  sqlite3_value_free(kept->value);
  kept->value = copy;
  kept->seen = true;
}

void FirstStep(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
  Keep(context, argv[0], false);
}

void LastStep(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
  Keep(context, argv[0], true);
}

void KeptFinal(sqlite3_context* context) {
  KeptValue* kept = KeptValueOf(context, false);
  if (kept == nullptr || kept->value == nullptr) return;
  sqlite3_result_value(context, kept->value);
  sqlite3_value_free(kept->value);
  kept->value = nullptr;
}

// The running mean and sum of squared deviations (Welford's method, stable for values far
// from zero).
struct Moments {
  std::int64_t count;
  double mean;
  double squares;
  bool unreadable;  // a value that is no number: the statistic is #Error
};

void MomentsStep(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
  auto* moments = static_cast<Moments*>(sqlite3_aggregate_context(context, sizeof(Moments)));
  if (moments == nullptr) {
    sqlite3_result_error_nomem(context);
    return;
  }
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
  const std::optional<double> number = NumberOf(ReadValue(argv[0], kVariant));
  if (!number) {
    moments->unreadable = true;
    return;
  }
  ++moments->count;
  const double delta = *number - moments->mean;
  moments->mean += delta / static_cast<double>(moments->count);
  moments->squares += delta * (*number - moments->mean);
}

// The variance over count - `lost_degrees` values, or nullopt when there are too few.
std::optional<double> Variance(sqlite3_context* context, int lost_degrees) {
  const auto* moments = static_cast<Moments*>(sqlite3_aggregate_context(context, 0));
  if (moments == nullptr || moments->unreadable || moments->count <= lost_degrees) {
    return std::nullopt;
  }
  return moments->squares / static_cast<double>(moments->count - lost_degrees);
}

void SetVariance(sqlite3_context* context, int lost_degrees, bool root) {
  if (const std::optional<double> variance = Variance(context, lost_degrees)) {
    sqlite3_result_double(context, root ? std::sqrt(*variance) : *variance);
  }
}

void StDevFinal(sqlite3_context* context) { SetVariance(context, 1, true); }
void StDevPFinal(sqlite3_context* context) { SetVariance(context, 0, true); }
void VarFinal(sqlite3_context* context) { SetVariance(context, 1, false); }
void VarPFinal(sqlite3_context* context) { SetVariance(context, 0, false); }

const FunctionDefinition kDefinitions[] = {
    Aggregate("First", "access_first", ReturnsTypeOfFirst, FirstStep, KeptFinal),
    Aggregate("Last", "access_last", ReturnsTypeOfFirst, LastStep, KeptFinal),
    Aggregate("StDev", "access_stdev", Returns<kDouble>, MomentsStep, StDevFinal),
    Aggregate("StDevP", "access_stdevp", Returns<kDouble>, MomentsStep, StDevPFinal),
    Aggregate("Var", "access_var", Returns<kDouble>, MomentsStep, VarFinal),
    Aggregate("VarP", "access_varp", Returns<kDouble>, MomentsStep, VarPFinal),
};

}  // namespace

std::span<const FunctionDefinition> AggregateFunctions() { return kDefinitions; }

}  // namespace quellor::tagdll::sql
