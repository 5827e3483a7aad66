#include "tagdll/sql/grouping.h"

#include "base/ascii.h"

namespace quellor::tagdll::sql {
namespace {

const Expr& Unaliased(const Expr& expr) {
  return expr.binding == Expr::Binding::kAlias && expr.alias != nullptr ? Unaliased(*expr.alias)
                                                                        : expr;
}

bool SameName(const Expr& a, const Expr& b) {
  if (a.binding != b.binding) return false;
  switch (a.binding) {
    case Expr::Binding::kColumn:
      return a.source == b.source && a.column == b.column;
    case Expr::Binding::kParameter:
      return EqualsIgnoreCase(a.parameter, b.parameter);
    default:
      return false;
  }
}

}  // namespace

bool SameExpression(const Expr& left, const Expr& right) {
  const Expr& a = Unaliased(left);
  const Expr& b = Unaliased(right);
  if (a.kind != b.kind || a.negated != b.negated || a.star != b.star ||
      a.operands.size() != b.operands.size()) {
    return false;
  }
  switch (a.kind) {
    case ExprKind::kName:
      return SameName(a, b);
    case ExprKind::kNumber:
    case ExprKind::kText:
    case ExprKind::kDate:
      if (a.text != b.text) return false;
      break;
    case ExprKind::kBoolean:
      if (a.truth != b.truth) return false;
      break;
    case ExprKind::kUnary:
    case ExprKind::kBinary:
      if (a.op != b.op) return false;
      break;
    case ExprKind::kCall:
      if (a.built_in != b.built_in || a.function != b.function ||
          (a.built_in == BuiltIn::kNone && a.function == nullptr &&
           !EqualsIgnoreCase(a.text, b.text))) {
        return false;
      }
      break;
    case ExprKind::kInQuery:
    case ExprKind::kExists:
    case ExprKind::kScalarQuery:
      return false;  // subqueries are never taken for one another
    default:
      break;
  }
  for (std::size_t i = 0; i < a.operands.size(); ++i) {
    if (!SameExpression(*a.operands[i], *b.operands[i])) return false;
  }
  return true;
}

const Expr* FirstUngrouped(const Expr& expr, const Select& select) {
  for (const ExprPtr& grouped : select.group_by) {
    if (SameExpression(expr, *grouped)) return nullptr;
  }
  if (expr.kind == ExprKind::kCall && expr.aggregate) return nullptr;
  if (expr.binding == Expr::Binding::kAlias && expr.alias != nullptr) {
    return FirstUngrouped(*expr.alias, select);
  }
  if (expr.binding == Expr::Binding::kColumn) {
    for (const std::unique_ptr<BoundSource>& source : select.sources) {
      if (source.get() == expr.source) return &expr;
    }
    return nullptr;  // a column of an enclosing query: one value per row of this one
  }
  for (const ExprPtr& operand : expr.operands) {
    if (const Expr* ungrouped = FirstUngrouped(*operand, select)) return ungrouped;
  }
  return nullptr;
}

bool HasAggregate(const Expr& expr) {
  if (expr.kind == ExprKind::kCall && expr.aggregate) return true;
  if (expr.binding == Expr::Binding::kAlias && expr.alias != nullptr) {
    return HasAggregate(*expr.alias);
  }
  for (const ExprPtr& operand : expr.operands) {
    if (HasAggregate(*operand)) return true;
  }
  return false;
}

}  // namespace quellor::tagdll::sql
