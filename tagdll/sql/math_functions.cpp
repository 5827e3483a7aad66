// Access's arithmetic functions (Int, Fix, Abs, Sgn, Round) and the translator's operators
// that SQLite computes differently: \, Mod, ^ and the rounding of Currency.
#include <cmath>

#include "tagdll/sql/access_number.h"
#include "tagdll/sql/function_definition.h"

namespace quellor::tagdll::sql {
namespace {

using enum SqlType;
using Kind = AccessValue::Kind;

// The type Int, Fix and Round give for an argument's type: a Yes/No is an Integer, text a
// Double, a date stays a date, a number keeps its type.
SqlType RoundedType(SqlType type) {
  if (type == kBoolean) return kInt16;
  if (type == kText || type == kGuid) return kDouble;
  return type;
}

SqlType RoundedResultType(std::span<const SqlType> arguments) {
  return RoundedType(ArgumentType(arguments, 0));
}

SqlType AbsResultType(std::span<const SqlType> arguments) {
  const SqlType type = ArgumentType(arguments, 0);
  return type == kDate ? kDouble : RoundedType(type);
}

// The same rule for a value at run time, where SQLite's storage stands in for a type not known.
SqlType RoundedType(const AccessValue& value) {
  switch (value.kind) {
    case Kind::kBoolean:
      return kInt16;
    case Kind::kDate:
      return kDate;
    case Kind::kNumber:
      if (value.type != kVariant) return value.type;
      return value.integer ? kInt32 : kDouble;
    default:
      return kDouble;
  }
}

void SetRounded(FunctionCall& call, double (*round)(double)) {
  const AccessValue value = call.Value(0);
  const std::optional<double> number = NumberOf(value);
  if (number) call.SetNumber(round(*number), RoundedType(value));
}

void Int(FunctionCall& call) {
  SetRounded(call, [](double x) { return std::floor(x); });
}
void Fix(FunctionCall& call) {
  SetRounded(call, [](double x) { return std::trunc(x); });
}

void Abs(FunctionCall& call) {
  const AccessValue value = call.Value(0);
  const std::optional<double> number = NumberOf(value);
  if (!number) return;
  const SqlType type = RoundedType(value);
  call.SetNumber(std::fabs(*number), type == kDate ? kDouble : type);
}

void Sgn(FunctionCall& call) {
  const std::optional<double> number = call.Number(0);
  if (number) call.SetNumber(*number > 0 ? 1 : *number < 0 ? -1 : 0, kInt16);
}

void Round(FunctionCall& call) {
  const AccessValue value = call.Value(0);
  const std::optional<double> number = NumberOf(value);
  const std::optional<std::int32_t> digits = call.LongOr(1, 0);
  if (!number || !digits || *digits < 0) return;
  call.SetNumber(RoundToDigits(*number, *digits), RoundedType(value));
}

void RoundCurrencyValue(FunctionCall& call) {
  const std::optional<double> number = call.Number(0);
  if (!number) return;
  if (const std::optional<double> currency = RoundCurrency(*number)) {
    call.SetNumber(*currency, kCurrency);
  }
}

// The operands of \ and Mod: both rounded half to even to Longs; a zero divisor is #Error.
bool IntegerOperands(FunctionCall& call, std::int64_t& dividend, std::int64_t& divisor) {
  const std::optional<std::int32_t> a = call.Long(0);
  const std::optional<std::int32_t> b = call.Long(1);
  if (!a || !b || *b == 0) return false;
  dividend = *a;
  divisor = *b;
  return true;
}

void IntegerDivide(FunctionCall& call) {
  std::int64_t dividend = 0;
  std::int64_t divisor = 0;
  if (!IntegerOperands(call, dividend, divisor)) return;
  const std::int64_t quotient = dividend / divisor;
  if (quotient <= INT32_MAX) call.SetNumber(static_cast<double>(quotient), kInt32);
}

void Modulo(FunctionCall& call) {
  std::int64_t dividend = 0;
  std::int64_t divisor = 0;
  if (IntegerOperands(call, dividend, divisor)) {
    call.SetNumber(static_cast<double>(dividend % divisor), kInt32);
  }
}

// A negative base with a fractional exponent, zero to a negative power and an overflow are
// #Error.
void Power(FunctionCall& call) {
  const std::optional<double> base = call.Number(0);
  const std::optional<double> exponent = call.Number(1);
  if (!base || !exponent) return;
  if (*base < 0 && std::trunc(*exponent) != *exponent) return;
  if (*base == 0 && *exponent < 0) return;
  const double power = std::pow(*base, *exponent);
  if (std::isfinite(power)) call.SetNumber(power, kDouble);
}

const FunctionDefinition kDefinitions[] = {
    Scalar("Int", "access_int", 1, 1, RoundedResultType, Int).TypeHinted(),
    Scalar("Fix", "access_fix", 1, 1, RoundedResultType, Fix).TypeHinted(),
    Scalar("Abs", "access_abs", 1, 1, AbsResultType, Abs).TypeHinted(),
    Scalar("Sgn", "access_sgn", 1, 1, Returns<kInt16>, Sgn).TypeHinted(),
    Scalar("Round", "access_round", 1, 2, RoundedResultType, Round).TypeHinted(),
    Scalar("", "access_round_currency", 1, 1, Returns<kCurrency>, RoundCurrencyValue),
    Scalar("", "access_intdiv", 2, 2, Returns<kInt32>, IntegerDivide),
    Scalar("", "access_mod", 2, 2, Returns<kInt32>, Modulo),
    Scalar("", "access_pow", 2, 2, Returns<kDouble>, Power),
};

}  // namespace

std::span<const FunctionDefinition> MathFunctions() { return kDefinitions; }

}  // namespace quellor::tagdll::sql
