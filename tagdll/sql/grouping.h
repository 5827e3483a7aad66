// The rules of a grouped query: each column of its select list, HAVING and ORDER BY is a
// GROUP BY expression, or inside an aggregate, or built from such parts and constants.
// Access refuses a query that breaks them; SQLite would quietly take any row's value.
#pragma once

#include <vector>

#include "tagdll/sql/tree.h"

namespace quellor::tagdll::sql {

// Whether two bound expressions compute the same value: the same shape, the same columns,
// names compared without regard to case.
bool SameExpression(const Expr& a, const Expr& b);

// The first reference in `expr` to a column of the select's own sources that is neither
// grouped nor inside an aggregate; nullptr when there is none.
const Expr* FirstUngrouped(const Expr& expr, const Select& select);

// Whether `expr` holds an aggregate call outside any subquery.
bool HasAggregate(const Expr& expr);

// Calls `visit` for each column reference of `expr` outside subqueries, following aliases.
template <typename Visit>
void ForEachColumn(const Expr& expr, Visit&& visit) {
  if (expr.binding == Expr::Binding::kColumn) visit(expr);
  if (expr.binding == Expr::Binding::kAlias && expr.alias != nullptr) {
    ForEachColumn(*expr.alias, visit);
  }
  for (const ExprPtr& operand : expr.operands) ForEachColumn(*operand, visit);
}

}  // namespace quellor::tagdll::sql
