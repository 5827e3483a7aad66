// The conversion functions and the tests of a value: IIf, Nz, IsNull, IsNumeric, CStr, CInt,
// CLng, CDbl, CSng, CCur, CBool, CDate, Val, Str, and the translator's access_text.
#include "tagdll/sql/access_number.h"
#include "tagdll/sql/function_definition.h"
#include "tagdll/sql/type_rules.h"

namespace quellor::tagdll::sql {
namespace {

using enum SqlType;
using Kind = AccessValue::Kind;

// The type of a value that is one of two typed expressions: Null takes the other's type,
// two numbers of different types are a Double, other mixtures are known only at run time.
SqlType CommonType(SqlType a, SqlType b) {
  if (a == b || b == kNull) return a;
  if (a == kNull) return b;
  if (IsNumber(a) && IsNumber(b)) return kDouble;
  return kVariant;
}

SqlType IIfType(std::span<const SqlType> arguments) {
  return CommonType(ArgumentType(arguments, 1), ArgumentType(arguments, 2));
}

// Nz(v) gives "" for Null in a query, so only a text keeps its type.
SqlType NzType(std::span<const SqlType> arguments) {
  const SqlType value = ArgumentType(arguments, 0);
  if (arguments.size() < 2) return value == kText ? kText : kVariant;
  return CommonType(value, arguments[1]);
}

// A Null condition is false; a condition that is no truth value is #Error.
void IIf(FunctionCall& call) {
  bool condition = false;
  if (!call.IsNull(0)) {
    const std::optional<bool> truth = TruthOf(call.Value(0));
    if (!truth) return;
    condition = *truth;
  }
  call.SetValue(call.raw(condition ? 1 : 2));
}

void Nz(FunctionCall& call) {
  if (!call.IsNull(0)) {
    call.SetValue(call.raw(0));
  } else if (call.size() > 1) {
    call.SetValue(call.raw(1));
  } else {
    call.SetText("");
  }
}

void IsNull(FunctionCall& call) { call.SetBoolean(call.IsNull(0)); }

void IsNumeric(FunctionCall& call) {
  const AccessValue value = call.Value(0);
  const bool numeric = value.kind == Kind::kNumber || value.kind == Kind::kBoolean ||
                       (value.kind == Kind::kText && ParseAccessNumber(value.text).has_value());
  call.SetBoolean(numeric);
}

void CStr(FunctionCall& call) {
  if (const std::optional<std::string> text = call.Text(0)) call.SetText(*text);
}

void CInt(FunctionCall& call) {
  const std::optional<double> number = call.Number(0);
  const std::optional<std::int16_t> integer = number ? ToInteger(*number) : std::nullopt;
  if (integer) call.SetNumber(*integer, kInt16);
}

void CLng(FunctionCall& call) {
  if (const std::optional<std::int32_t> integer = call.Long(0)) call.SetNumber(*integer, kInt32);
}

void CDbl(FunctionCall& call) {
  if (const std::optional<double> number = call.Number(0)) call.SetNumber(*number, kDouble);
}

void CSng(FunctionCall& call) {
  const std::optional<double> number = call.Number(0);
  if (!number) return;
  if (const std::optional<double> single = ToSingle(*number)) call.SetNumber(*single, kSingle);
}

void CCur(FunctionCall& call) {
  const std::optional<double> number = call.Number(0);
  if (!number) return;
  if (const std::optional<double> currency = RoundCurrency(*number)) {
    call.SetNumber(*currency, kCurrency);
  }
}

void CBool(FunctionCall& call) {
  if (const std::optional<bool> truth = TruthOf(call.Value(0))) call.SetBoolean(*truth);
}

void CDate(FunctionCall& call) {
  if (const std::optional<double> serial = call.Serial(0)) call.SetDate(*serial);
}

void Val(FunctionCall& call) {
  const std::optional<std::string> text = call.Text(0);
  if (!text) return;
  if (const std::optional<double> number = LeadingNumber(*text)) call.SetNumber(*number, kDouble);
}

// Str: a number with a blank before it when it is not negative; text must read as a number.
void Str(FunctionCall& call) {
  AccessValue value = call.Value(0);
  if (value.kind == Kind::kText) {
    const std::optional<double> number = ParseAccessNumber(value.text);
    if (!number) return;
    value.kind = Kind::kNumber;
    value.type = kDouble;
    value.number = *number;
  }
  const std::optional<std::string> text = TextOf(value);
  if (!text) return;
  const bool signed_number = value.kind == Kind::kNumber && value.number < 0;
  call.SetText(value.kind != Kind::kNumber || signed_number ? *text : " " + *text);
}

const FunctionDefinition kDefinitions[] = {
    Scalar("IIf", "access_iif", 3, 3, IIfType, IIf).TakesNull(),
    Scalar("Nz", "access_nz", 1, 2, NzType, Nz).TakesNull(),
    Scalar("IsNull", "access_isnull", 1, 1, Returns<kBoolean>, IsNull).TakesNull(),
    Scalar("IsNumeric", "access_isnumeric", 1, 1, Returns<kBoolean>, IsNumeric).TakesNull(),
    Scalar("CStr", "access_cstr", 1, 1, Returns<kText>, CStr).TypeHinted(),
    Scalar("CInt", "access_cint", 1, 1, Returns<kInt16>, CInt).TypeHinted(),
    Scalar("CLng", "access_clng", 1, 1, Returns<kInt32>, CLng).TypeHinted(),
    Scalar("CDbl", "access_cdbl", 1, 1, Returns<kDouble>, CDbl).TypeHinted(),
    Scalar("CSng", "access_csng", 1, 1, Returns<kSingle>, CSng).TypeHinted(),
    Scalar("CCur", "access_ccur", 1, 1, Returns<kCurrency>, CCur).TypeHinted(),
    Scalar("CBool", "access_cbool", 1, 1, Returns<kBoolean>, CBool).TypeHinted(),
    Scalar("CDate", "access_cdate", 1, 1, Returns<kDate>, CDate).TypeHinted(),
    Scalar("Val", "access_val", 1, 1, Returns<kDouble>, Val),
    Scalar("Str", "access_str", 1, 1, Returns<kText>, Str).TypeHinted().DollarForm(),
    Scalar("", "access_text", 1, 1, Returns<kText>, CStr).TypeHinted(),
};

}  // namespace

std::span<const FunctionDefinition> ConversionFunctions() { return kDefinitions; }

}  // namespace quellor::tagdll::sql
