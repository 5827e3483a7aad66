// The calls of functions: Access's registered ones, and IIf, Nz, IsNull and the aggregates,
// which the emitter writes itself.
#include "base/str_cat.h"
#include "tagdll/sql/access_functions.h"
#include "tagdll/sql/emitter.h"
#include "tagdll/sql/function_arguments.h"

namespace quellor::tagdll::sql {

std::string Emitter::Argument(const Expr& argument, ArgumentKind kind) {
  const SqlType type = argument.type.type;
  switch (kind) {
    case ArgumentKind::kText:
      if (type == SqlType::kBoolean || type == SqlType::kSingle || type == SqlType::kDate) {
        return "access_text(" + Value(argument) + ", " + std::to_string(static_cast<int>(type)) +
               ")";
      }
      return Value(argument);
    case ArgumentKind::kNumber:
      return Number(argument);
    case ArgumentKind::kValue:
      return type == SqlType::kBoolean ? Number(argument) : Value(argument);
  }
  return Value(argument);
}

std::string Emitter::Aggregate(const std::string& function, const std::string& argument) {
  return function + "(" + argument + ")" + aggregate_filter_;
}

std::string Emitter::Call(const Expr& expr) {
  if (expr.built_in != BuiltIn::kNone) return BuiltInCall(expr);
  const AccessFunction& function = *expr.function;
  std::string arguments;
  for (std::size_t i = 0; i < expr.operands.size(); ++i) {
    if (i > 0) arguments += ", ";
    const Expr& argument = *expr.operands[i];
    arguments += i == 0 && function.type_hinted
                     ? Value(argument)
                     : Argument(argument, KindOfArgument(expr.text, expr.operands.size(), i));
  }
  if (function.type_hinted && !expr.operands.empty()) {
    arguments += ", " + std::to_string(static_cast<int>(expr.operands[0]->type.type));
  }
  const std::string name(function.sqlite_name);
  return expr.aggregate ? Aggregate(name, arguments) : name + "(" + arguments + ")";
}

std::string Emitter::BuiltInCall(const Expr& expr) {
  const auto operand = [&](std::size_t i) -> const Expr& { return *expr.operands[i]; };
  const SqlType type = expr.type.type;
  switch (expr.built_in) {
    case BuiltIn::kIIf: {
      // IIf(a, x, IIf(b, y, z)) as one CASE: SQLite's parser takes few nested ones.
      std::string text = "(CASE";
      const Expr* branch = &expr;
      for (; branch->kind == ExprKind::kCall && branch->built_in == BuiltIn::kIIf;
           branch = branch->operands[2].get()) {
        text += " WHEN " + Value(*branch->operands[0]) + " THEN " +
                Converted(*branch->operands[1], type);
      }
      return text + " ELSE " + Converted(*branch, type) + " END)";
    }
    case BuiltIn::kNz:
      if (expr.operands.size() == 1) return "coalesce(" + Value(operand(0)) + ", '')";
      return StrCat("coalesce(", Converted(operand(0), type), ", ", Converted(operand(1), type),
                    ")");
    case BuiltIn::kIsNull:
      return StrCat("(", Value(operand(0)), " IS NULL)");
    case BuiltIn::kCount:
      return Aggregate("count", expr.star ? "*" : Value(operand(0)));
    case BuiltIn::kSum:
    case BuiltIn::kAvg: {
      const std::string total =
          Aggregate(expr.built_in == BuiltIn::kSum ? "sum" : "avg", Number(operand(0)));
      return type == SqlType::kCurrency ? "access_round_currency(" + total + ")" : total;
    }
    case BuiltIn::kMin:
    case BuiltIn::kMax: {
      const std::string function = expr.built_in == BuiltIn::kMin ? "min" : "max";
      if (type == SqlType::kBoolean) {  // over -1 and 0, as Access compares them
        return StrCat("(-", Aggregate(function, Number(operand(0))), ")");
      }
      return Aggregate(function, Keyed(operand(0)));
    }
    case BuiltIn::kNone:
      break;
  }
  return "NULL";
}

}  // namespace quellor::tagdll::sql
