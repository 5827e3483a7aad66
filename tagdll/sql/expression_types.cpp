#include "tagdll/sql/expression_types.h"

#include <cerrno>
#include <cstdlib>

#include "tagdll/sql/type_rules.h"

namespace quellor::tagdll::sql {
namespace {

ExprType NotNull(SqlType type) { return ExprType{type, false, Collation::kNone}; }

SqlType NumberLiteralType(const std::string& text) {
  if (text.find_first_not_of("0123456789") != std::string::npos) return SqlType::kDouble;
  errno = 0;
  const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value > 2147483647ULL) return SqlType::kDouble;
  return value <= 32767 ? SqlType::kInt16 : SqlType::kInt32;
}

bool AnyNullable(const Expr& expr) {
  for (const ExprPtr& operand : expr.operands) {
    if (operand->type.nullable) return true;
  }
  return false;
}

SqlType AddType(SqlType left, SqlType right, Op op) {
  if (left == SqlType::kNull || right == SqlType::kNull) return SqlType::kNull;
  if (left == SqlType::kVariant || right == SqlType::kVariant) return SqlType::kVariant;
  if (op == Op::kAdd && IsTextual(left) && IsTextual(right)) return SqlType::kText;
  if (left == SqlType::kDate || right == SqlType::kDate) {
    if (op == Op::kSubtract && left == SqlType::kDate && right == SqlType::kDate) {
      return SqlType::kDouble;
    }
    return SqlType::kDate;
  }
  if (!IsNumeric(left) || !IsNumeric(right)) return SqlType::kDouble;  // text read as number
  return WiderNumeric(left, right);
}

SqlType IntegerDivisionType(SqlType left, SqlType right) {
  const auto small = [](SqlType type) {
    return type == SqlType::kByte || type == SqlType::kInt16 || type == SqlType::kBoolean;
  };
  return small(left) && small(right) ? SqlType::kInt16 : SqlType::kInt32;
}

SqlType NegatedType(SqlType operand) {
  if (operand == SqlType::kBoolean) return SqlType::kInt16;
  if (IsNumeric(operand) || operand == SqlType::kNull || operand == SqlType::kVariant) {
    return operand;
  }
  return SqlType::kDouble;
}

ExprType BinaryType(const Expr& expr) {
  if (expr.op == Op::kAnd || expr.op == Op::kOr) {
    return ExprType{SqlType::kBoolean, AnyNullable(expr), Collation::kNone};
  }
  const SqlType left = expr.operands[0]->type.type;
  const SqlType right = expr.operands[1]->type.type;
  const bool nullable = AnyNullable(expr);
  switch (expr.op) {
    case Op::kAdd:
    case Op::kSubtract:
      return ExprType{AddType(left, right, expr.op), nullable, Collation::kNone};
    case Op::kMultiply: {
      SqlType type = AddType(left, right, expr.op);
      if (type == SqlType::kDate) type = SqlType::kDouble;
      return ExprType{type, nullable, Collation::kNone};
    }
    case Op::kDivide:
    case Op::kPower:
      return ExprType{SqlType::kDouble, nullable, Collation::kNone};
    case Op::kIntDivide:
    case Op::kMod:
      return ExprType{IntegerDivisionType(left, right), nullable, Collation::kNone};
    case Op::kConcat:
      return ExprType{SqlType::kText,
                      expr.operands[0]->type.nullable && expr.operands[1]->type.nullable,
                      Collation::kNone};
    default:  // comparisons and the logical operators
      return ExprType{SqlType::kBoolean, nullable, Collation::kNone};
  }
}

}  // namespace

ExprType ColumnType(const OutputColumn& column) {
  ExprType type{column.type, true, Collation::kNone};
  if (IsTextual(column.type) || column.type == SqlType::kVariant) {
    type.collation = column.nocase ? Collation::kColumnNocase : Collation::kColumnOther;
  }
  return type;
}

bool ComparesWithoutCase(const ExprType& type) {
  return type.collation == Collation::kColumnNocase || type.collation == Collation::kExplicitNocase;
}

void AssignType(Expr& expr) {
  switch (expr.kind) {
    case ExprKind::kNumber:
      expr.type = NotNull(NumberLiteralType(expr.text));
      return;
    case ExprKind::kText:
      expr.type = NotNull(SqlType::kText);
      return;
    case ExprKind::kDate:
      expr.type = NotNull(SqlType::kDate);
      return;
    case ExprKind::kBoolean:
      expr.type = NotNull(SqlType::kBoolean);
      return;
    case ExprKind::kNull:
      expr.type = ExprType{SqlType::kNull, true, Collation::kNone};
      return;
    case ExprKind::kUnary:
      expr.type = ExprType{
          expr.op == Op::kNot ? SqlType::kBoolean : NegatedType(expr.operands[0]->type.type),
          AnyNullable(expr), Collation::kNone};
      return;
    case ExprKind::kBinary:
      expr.type = BinaryType(expr);
      return;
    case ExprKind::kLike:
    case ExprKind::kBetween:
    case ExprKind::kInList:
    case ExprKind::kInQuery:
      expr.type = ExprType{SqlType::kBoolean, AnyNullable(expr), Collation::kNone};
      return;
    case ExprKind::kIsNull:
    case ExprKind::kExists:
      expr.type = NotNull(SqlType::kBoolean);
      return;
    case ExprKind::kName:
    case ExprKind::kScalarQuery:
    case ExprKind::kCall:
      return;  // typed where they are bound
  }
}

}  // namespace quellor::tagdll::sql
