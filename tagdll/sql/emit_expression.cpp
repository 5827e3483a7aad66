#include "base/ascii.h"
#include "base/str_cat.h"
#include "tagdll/sql/emitter.h"
#include "tagdll/sql/expression_types.h"
#include "tagdll/sql/type_rules.h"

namespace quellor::tagdll::sql {
namespace {

constexpr std::string_view kNocase = " COLLATE NOCASE";

// Whether SQLite would compare the two by bytes: an explicit collation comes first, then the
// left operand's column, then the right's.
bool ComparesBytes(const ExprType& left, const ExprType& right) {
  if (left.collation == Collation::kExplicitNocase ||
      right.collation == Collation::kExplicitNocase) {
    return false;
  }
  if (left.collation == Collation::kColumnNocase) return false;
  if (left.collation == Collation::kColumnOther) return true;
  return right.collation != Collation::kColumnNocase;
}

bool IsBooleanLike(SqlType type) {
  return type == SqlType::kBoolean || type == SqlType::kVariant || type == SqlType::kNull;
}

bool IsDateLike(SqlType type) { return type == SqlType::kDate || type == SqlType::kNull; }

std::string_view Symbol(Op op) {
  switch (op) {
    case Op::kEqual:
      return "=";
    case Op::kNotEqual:
      return "<>";
    case Op::kLess:
      return "<";
    case Op::kLessEqual:
      return "<=";
    case Op::kGreater:
      return ">";
    case Op::kGreaterEqual:
      return ">=";
    case Op::kAdd:
      return "+";
    case Op::kSubtract:
      return "-";
    case Op::kMultiply:
      return "*";
    case Op::kAnd:
      return "AND";
    default:
      return "OR";
  }
}

}  // namespace

std::string QuoteName(std::string_view name) {
  std::string quoted = "\"";
  for (const char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

std::string QuoteText(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

std::string Emitter::Value(const Expr& expr) {
  if (too_large_) return std::string();
  std::string text = Written(expr);
  too_large_ |= text.size() > kMaxSqlSize;
  return too_large_ ? std::string() : text;  // so that no enclosing expression grows on
}

std::string Emitter::Written(const Expr& expr) {
  switch (expr.kind) {
    case ExprKind::kNumber:
      return expr.text.front() == '.' ? "0" + expr.text : expr.text;
    case ExprKind::kText:
    case ExprKind::kDate:
      return QuoteText(expr.text);
    case ExprKind::kBoolean:
      return expr.truth ? "1" : "0";
    case ExprKind::kNull:
      return "NULL";
    case ExprKind::kName:
      if (expr.binding == Expr::Binding::kColumn) return Column(expr);
      if (expr.binding == Expr::Binding::kAlias) return Value(*expr.alias);
      return Parameter(expr);
    case ExprKind::kUnary:
      if (expr.op == Op::kNot) return "(NOT " + Value(*expr.operands[0]) + ")";
      return StrCat("(- ", Number(*expr.operands[0]), ")");  // "--" would open a comment
    case ExprKind::kBinary:
      return Binary(expr);
    case ExprKind::kLike:
      return std::string(expr.negated ? "(NOT " : "(") + "access_like(" + Value(*expr.operands[0]) +
             ", " + Value(*expr.operands[1]) + "))";
    case ExprKind::kBetween:
      return Between(expr);
    case ExprKind::kInList:
      return InList(expr);
    case ExprKind::kInQuery:
      return StrCat("(", Keyed(*expr.operands[0]), expr.negated ? " NOT IN (" : " IN (",
                    Query(*expr.query, true), "))");
    case ExprKind::kIsNull:
      return StrCat("(", Value(*expr.operands[0]), (expr.negated ? " IS NOT NULL)" : " IS NULL)"));
    case ExprKind::kExists:
      return StrCat("(EXISTS (", Query(*expr.query, true), "))");
    case ExprKind::kScalarQuery:
      return StrCat("(", Query(*expr.query, true), ")");
    case ExprKind::kCall:
      return Call(expr);
  }
  return "NULL";
}

std::string Emitter::Number(const Expr& expr) {
  if (expr.type.type == SqlType::kBoolean) {
    if (expr.kind == ExprKind::kBoolean) return expr.truth ? "-1" : "0";
    return StrCat("(-", Value(expr), ")");
  }
  if (expr.type.type == SqlType::kDate) return "access_to_serial(" + Value(expr) + ")";
  return Value(expr);
}

std::string Emitter::Column(const Expr& expr) {
  return QuoteName(expr.source->Qualifier()) + "." +
         QuoteName(expr.source->columns[expr.column].name);
}

std::string Emitter::Parameter(const Expr& expr) {
  std::size_t position = 0;
  while (position < parameters_.size() &&
         !EqualsIgnoreCase(parameters_[position], expr.parameter)) {
    ++position;
  }
  const std::string placeholder = StrCat("?", std::to_string(position + 1));
  switch (expr.type.type) {
    case SqlType::kDate:  // whatever form the program binds, compared as an ISO date
      return StrCat("access_from_serial(access_to_serial(", placeholder, "))");
    case SqlType::kBoolean:
      return StrCat("(", placeholder, " <> 0)");
    default:
      return placeholder;
  }
}

std::string Emitter::Text(const Expr& expr) {
  const SqlType type = expr.type.type;
  if (IsTextual(type) || IsInteger(type)) return Value(expr);
  if (type == SqlType::kNull) return "NULL";
  return StrCat("access_text(", Value(expr), ", ", std::to_string(static_cast<int>(type)), ")");
}

std::string Emitter::Converted(const Expr& expr, SqlType target) {
  if (expr.type.type == SqlType::kBoolean && target != SqlType::kBoolean && IsNumeric(target)) {
    return Number(expr);
  }
  return Value(expr);
}

std::string Emitter::Binary(const Expr& expr) {
  const Expr& left = *expr.operands[0];
  const Expr& right = *expr.operands[1];
  switch (expr.op) {
    case Op::kConcat:
      return Concat(left, right);
    case Op::kEqual:
    case Op::kNotEqual:
    case Op::kLess:
    case Op::kLessEqual:
    case Op::kGreater:
    case Op::kGreaterEqual:
      return Comparison(expr.op, left, right);
    case Op::kAnd:
    case Op::kOr: {
      std::string chain;
      for (const ExprPtr& operand : expr.operands) {
        if (!chain.empty()) chain += expr.op == Op::kAnd ? " AND " : " OR ";
        chain += Value(*operand);
      }
      return StrCat("(", chain, ")");
    }
    case Op::kXor:
      return StrCat("((", Value(left), " <> 0) <> (", Value(right), " <> 0))");
    case Op::kDivide:
      return StrCat("(CAST(", Number(left), " AS REAL) / ", Number(right), ")");
    case Op::kIntDivide:
      return StrCat("access_intdiv(", Number(left), ", ", Number(right), ")");
    case Op::kMod:
      return StrCat("access_mod(", Number(left), ", ", Number(right), ")");
    case Op::kPower:
      return StrCat("access_pow(", Number(left), ", ", Number(right), ")");
    default:
      return Arithmetic(expr);
  }
}

std::string Emitter::Arithmetic(const Expr& expr) {
  const Expr& left = *expr.operands[0];
  const Expr& right = *expr.operands[1];
  const SqlType type = expr.type.type;
  if (expr.op == Op::kAdd && type == SqlType::kText) {
    return StrCat("(", Value(left), " || ", Value(right), ")");
  }
  const std::string a = Number(left);
  const std::string b = Number(right);
  const std::string plain = "(" + a + " " + std::string(Symbol(expr.op)) + " " + b + ")";
  if (type == SqlType::kDate) return "access_from_serial" + plain;
  if (type == SqlType::kCurrency) return "access_round_currency" + plain;
  if (expr.op == Op::kAdd && type == SqlType::kVariant) {  // text joins, numbers add
    return "(CASE WHEN typeof(" + a + ") = 'text' AND typeof(" + b + ") = 'text' THEN " + a +
           " || " + b + " ELSE " + a + " + " + b + " END)";
  }
  return plain;
}

// Null only when both are Null: coalesce(a || coalesce(b, ''), b) writes each operand once
// but the right one, so that a chain a & b & c grows with its length only.
std::string Emitter::Concat(const Expr& left, const Expr& right) {
  const std::string a = Text(left);
  const std::string b = Text(right);
  const auto part = [](const Expr& operand, const std::string& text) {
    return operand.type.nullable ? "coalesce(" + text + ", '')" : text;
  };
  if (!left.type.nullable || !right.type.nullable) {
    return StrCat("(", part(left, a), " || ", part(right, b), ")");
  }
  return StrCat("coalesce(", a, " || ", part(right, b), ", ", b, ")");
}

std::string Emitter::Comparison(Op op, const Expr& left, const Expr& right) {
  const SqlType a = left.type.type;
  const SqlType b = right.type.type;
  const std::string symbol = StrCat(" ", Symbol(op), " ");
  const bool ordering = op != Op::kEqual && op != Op::kNotEqual;
  if (a == SqlType::kBoolean || b == SqlType::kBoolean) {
    if (!ordering && IsBooleanLike(a) && IsBooleanLike(b)) {
      return StrCat("(", Value(left), symbol, Value(right), ")");
    }
    return StrCat("(", Number(left), symbol, Number(right), ")");  // True (-1) sorts before False
  }
  if (a == SqlType::kDate || b == SqlType::kDate) {
    if (IsDateLike(a) && IsDateLike(b)) return StrCat("(", Value(left), symbol, Value(right), ")");
    return StrCat("(access_to_serial(", Value(left), ")", symbol, "access_to_serial(", Value(right),
                  "))");
  }
  const bool text = !IsNumeric(a) && !IsNumeric(b) && (IsTextLike(a) || IsTextLike(b));
  const bool collate = text && ComparesBytes(left.type, right.type);
  return StrCat("(", Value(left), symbol, Value(right), collate ? kNocase : "", ")");
}

std::string Emitter::Keyed(const Expr& value) {
  if (!IsTextLike(value.type.type) || ComparesWithoutCase(value.type)) return Value(value);
  return Value(value) + std::string(kNocase);
}

std::string Emitter::Between(const Expr& expr) {
  const Expr& value = *expr.operands[0];
  const Expr& low = *expr.operands[1];
  const Expr& high = *expr.operands[2];
  const std::string between = expr.negated ? " NOT BETWEEN " : " BETWEEN ";
  const SqlType type = value.type.type;
  if (type == SqlType::kDate && !(IsDateLike(low.type.type) && IsDateLike(high.type.type))) {
    return "(access_to_serial(" + Value(value) + ")" + between + "access_to_serial(" + Value(low) +
           ") AND access_to_serial(" + Value(high) + "))";
  }
  if (type == SqlType::kBoolean) {
    return StrCat("(", Number(value), between, Number(low), " AND ", Number(high), ")");
  }
  return StrCat("(", Keyed(value), between, Value(low), " AND ", Value(high), ")");
}

std::string Emitter::InList(const Expr& expr) {
  const Expr& value = *expr.operands[0];
  bool same_kind = true;
  for (std::size_t i = 1; i < expr.operands.size(); ++i) {
    const SqlType item = expr.operands[i]->type.type;
    same_kind &= item == value.type.type || item == SqlType::kNull;
  }
  const bool as_numbers =
      !same_kind && (value.type.type == SqlType::kBoolean || value.type.type == SqlType::kDate);
  std::string text =
      StrCat("(", as_numbers ? Number(value) : Keyed(value), expr.negated ? " NOT IN (" : " IN (");
  for (std::size_t i = 1; i < expr.operands.size(); ++i) {
    if (i > 1) text += ", ";
    text += as_numbers ? Number(*expr.operands[i]) : Value(*expr.operands[i]);
  }
  return text + "))";
}

}  // namespace quellor::tagdll::sql
