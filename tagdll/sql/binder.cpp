#include "tagdll/sql/binder.h"

#include <algorithm>

#include "base/ascii.h"
#include "base/str_cat.h"
#include "tagdll/sql/binding.h"
#include "tagdll/sql/grouping.h"
#include "tagdll/sql/refusal.h"

namespace quellor::tagdll::sql {
namespace {

bool IsConstant(const Expr& expr) {
  switch (expr.kind) {
    case ExprKind::kNumber:
    case ExprKind::kText:
    case ExprKind::kDate:
    case ExprKind::kBoolean:
    case ExprKind::kNull:
      return true;
    case ExprKind::kUnary:
      return expr.op == Op::kNegate && expr.operands[0]->kind == ExprKind::kNumber;
    default:
      return false;
  }
}

}  // namespace

std::vector<ParameterDecl> Binder::Parameters() const {
  std::vector<ParameterDecl> parameters = declared_;
  std::vector<ImplicitParameter> implicit = implicit_;
  std::stable_sort(
      implicit.begin(), implicit.end(),
      [](const ImplicitParameter& a, const ImplicitParameter& b) { return a.offset < b.offset; });
  for (const ImplicitParameter& parameter : implicit) {
    parameters.push_back(ParameterDecl{parameter.name, SqlType::kVariant});
  }
  return parameters;
}

Status Binder::BindCrosstab(Crosstab& crosstab) {
  Scope scope;
  if (Status status = BindSelect(*crosstab.select, nullptr, &scope); !status.ok()) return status;
  if (crosstab.select->distinct != Distinct::kAll || crosstab.select->top) {
    return NotCarried("a crosstab with DISTINCT or TOP");
  }
  if (Status status = BindExpr(*crosstab.value, scope); !status.ok()) return status;
  if (!HasAggregate(*crosstab.value)) {
    return Status::InvalidArgument("TRANSFORM takes an aggregate, such as Sum()");
  }
  crosstab.select->aggregate = true;
  if (const Expr* ungrouped = FirstUngrouped(*crosstab.value, *crosstab.select)) {
    return Status::InvalidArgument(
        StrCat("[", ungrouped->name.Text(), "] is neither grouped nor aggregated"));
  }
  scope.clause = Clause::kGroupBy;
  if (Status status = BindExpr(*crosstab.pivot, scope); !status.ok()) return status;
  const Scope constants{nullptr, nullptr, Clause::kValues, nullptr, false};
  for (const ExprPtr& heading : crosstab.headings) {
    if (!IsConstant(*heading)) {
      return NotCarried("a PIVOT heading that is not a constant");
    }
    if (Status status = BindExpr(*heading, constants); !status.ok()) return status;
  }
  return Status::Ok();
}

Status Binder::BindInsert(Insert& insert) {
  Result<std::optional<NamedSource>> target = resolver_.Resolve(insert.table);
  if (!target.ok()) return target.status();
  if (!target->has_value()) {
    return Status::InvalidArgument("no table is named [" + insert.table + "]");
  }
  if ((*target)->kind != BoundSource::Kind::kTable) {
    return NotCarried("an insert into the query [" + insert.table + "]");
  }
  insert.sql_table = (*target)->sql_name;
  const std::vector<OutputColumn>& columns = (*target)->columns;
  if (insert.columns.empty()) {
    for (const OutputColumn& column : columns) insert.sql_columns.push_back(column.name);
  }
  for (const std::string& name : insert.columns) {
    const auto column = std::find_if(columns.begin(), columns.end(), [&](const OutputColumn& c) {
      return EqualsIgnoreCase(c.name, name);
    });
    if (column == columns.end()) {
      return Status::InvalidArgument("[" + insert.table + "] has no column [" + name + "]");
    }
    insert.sql_columns.push_back(column->name);
  }
  std::size_t values = insert.values.size();
  if (insert.query != nullptr) {
    if (Status status = BindQuery(*insert.query, nullptr); !status.ok()) return status;
    values = insert.query->columns.size();
  }
  const Scope constants{nullptr, nullptr, Clause::kValues, nullptr, false};
  for (const ExprPtr& value : insert.values) {
    if (Status status = BindExpr(*value, constants); !status.ok()) return status;
  }
  if (values != insert.sql_columns.size()) {
    return Status::InvalidArgument("the insert gives " + std::to_string(values) + " values for " +
                                   std::to_string(insert.sql_columns.size()) + " columns");
  }
  return Status::Ok();
}

Result<std::vector<ParameterDecl>> BindStatement(Statement& statement, SourceResolver& resolver,
                                                 const BindOptions& options) {
  Binder binder(resolver, options, statement.parameters);
  Status status;
  if (statement.query != nullptr) {
    status = binder.BindQuery(*statement.query, nullptr);
  } else if (statement.crosstab != nullptr) {
    status = binder.BindCrosstab(*statement.crosstab);
  } else {
    status = binder.BindInsert(*statement.insert);
  }
  if (!status.ok()) return status;
  return binder.Parameters();
}

}  // namespace quellor::tagdll::sql
