#include <algorithm>
#include <array>

#include "base/ascii.h"
#include "tagdll/sql/access_functions.h"
#include "tagdll/sql/binding.h"
#include "tagdll/sql/expression_types.h"
#include "tagdll/sql/grouping.h"
#include "tagdll/sql/refusal.h"
#include "tagdll/sql/type_rules.h"

namespace quellor::tagdll::sql {
namespace {

struct BuiltInFunction {
  std::string_view name;
  BuiltIn built_in;
  std::size_t min_args;
  std::size_t max_args;
  bool aggregate;
};

constexpr std::array<BuiltInFunction, 8> kBuiltIns = {{
    {"IIf", BuiltIn::kIIf, 3, 3, false},
    {"Nz", BuiltIn::kNz, 1, 2, false},
    {"IsNull", BuiltIn::kIsNull, 1, 1, false},
    {"Count", BuiltIn::kCount, 1, 1, true},
    {"Sum", BuiltIn::kSum, 1, 1, true},
    {"Avg", BuiltIn::kAvg, 1, 1, true},
    {"Min", BuiltIn::kMin, 1, 1, true},
    {"Max", BuiltIn::kMax, 1, 1, true},
}};

const BuiltInFunction* FindBuiltIn(std::string_view name) {
  for (const BuiltInFunction& function : kBuiltIns) {
    if (EqualsIgnoreCase(function.name, name)) return &function;
  }
  return nullptr;
}

SqlType SumType(SqlType argument) {
  switch (argument) {
    case SqlType::kBoolean:
    case SqlType::kByte:
    case SqlType::kInt16:
    case SqlType::kInt32:
      return SqlType::kInt32;
    case SqlType::kCurrency:
    case SqlType::kDecimal:
    case SqlType::kVariant:
      return argument;
    default:
      return SqlType::kDouble;
  }
}

std::string ArgumentsText(std::size_t min_args, std::size_t max_args) {
  if (min_args == max_args) {
    return std::to_string(min_args) + (min_args == 1 ? " argument" : " arguments");
  }
  return std::to_string(min_args) + " to " + std::to_string(max_args) + " arguments";
}

// A clause evaluated for each row, where an aggregate has no value.
bool IsRowClause(Clause clause) {
  return clause == Clause::kWhere || clause == Clause::kOn || clause == Clause::kGroupBy ||
         clause == Clause::kValues;
}

}  // namespace

Status Binder::BindExpr(Expr& expr, const Scope& scope) {
  switch (expr.kind) {
    case ExprKind::kName:
      return BindName(expr, scope);
    case ExprKind::kCall:
      return BindCall(expr, scope);
    case ExprKind::kScalarQuery:
    case ExprKind::kExists:
    case ExprKind::kInQuery:
      return BindSubquery(expr, scope);
    default:
      for (const ExprPtr& operand : expr.operands) {
        if (Status status = BindExpr(*operand, scope); !status.ok()) return status;
      }
      AssignType(expr);
      return Status::Ok();
  }
}

// A name of one part, or of two (Table.Column, Table!Column), may be a column, and a name of
// one part an alias; a longer path ([Forms]![Orders]![OrderID]) is always a parameter.
Status Binder::BindName(Expr& expr, const Scope& scope) {
  if (expr.name.parts.size() > 2) return BindParameter(expr);
  for (const Scope* level = &scope; level != nullptr; level = level->outer) {
    Status error;
    if (BindColumn(expr, *level, error)) return Status::Ok();
    if (!error.ok()) return error;
    if (level == &scope && expr.name.parts.size() == 1 && scope.item_state != nullptr) {
      const std::vector<SelectItem>& items = scope.select->items;
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].expr != nullptr && EqualsIgnoreCase(items[i].alias, expr.name.parts[0])) {
          return BindAlias(expr, scope, i);
        }
      }
    }
  }
  return BindParameter(expr);
}

bool Binder::BindColumn(Expr& expr, const Scope& scope, Status& error) {
  if (scope.select == nullptr) return false;
  const NamePath& path = expr.name;
  const std::string& column_name = path.parts.back();
  const BoundSource* found = nullptr;
  std::size_t found_column = 0;
  std::vector<const BoundSource*> sources;
  if (scope.joined != nullptr) {
    sources = *scope.joined;
  } else {
    for (const std::unique_ptr<BoundSource>& source : scope.select->sources) {
      sources.push_back(source.get());
    }
  }
  for (const BoundSource* source : sources) {
    if (path.parts.size() == 2 && !EqualsIgnoreCase(source->name, path.parts[0])) continue;
    for (std::size_t i = 0; i < source->columns.size(); ++i) {
      if (!EqualsIgnoreCase(source->columns[i].name, column_name)) continue;
      if (found != nullptr) {
        error = Status::InvalidArgument("[" + column_name + "] could be a column of " +
                                        found->name + " or of " + source->name);
        return false;
      }
      found = source;
      found_column = i;
      break;
    }
  }
  if (found == nullptr) return false;
  expr.binding = Expr::Binding::kColumn;
  expr.source = found;
  expr.column = found_column;
  expr.type = ColumnType(found->columns[found_column]);
  return true;
}

Status Binder::BindAlias(Expr& expr, const Scope& scope, std::size_t item) {
  ItemState& state = (*scope.item_state)[item];
  Expr& target = *scope.select->items[item].expr;
  if (state == ItemState::kBinding) {
    return Status::InvalidArgument("the alias [" + scope.select->items[item].alias +
                                   "] refers to itself");
  }
  if (state == ItemState::kUnbound) {
    state = ItemState::kBinding;
    Scope item_scope = scope;
    item_scope.clause = Clause::kSelectList;
    item_scope.in_aggregate = false;
    if (Status status = BindExpr(target, item_scope); !status.ok()) return status;
    state = ItemState::kBound;
  }
  if (HasAggregate(target) && (IsRowClause(scope.clause) || scope.in_aggregate)) {
    return Status::InvalidArgument("the alias [" + scope.select->items[item].alias +
                                   "] of an aggregate in a WHERE, ON, GROUP BY or aggregate");
  }
  expr.binding = Expr::Binding::kAlias;
  expr.alias = &target;
  expr.type = target.type;
  return Status::Ok();
}

Status Binder::BindParameter(Expr& expr) {
  const std::string name = expr.name.Text();
  expr.binding = Expr::Binding::kParameter;
  for (const ParameterDecl& declared : declared_) {
    if (!EqualsIgnoreCase(declared.name, name)) continue;
    expr.parameter = declared.name;
    expr.type = ExprType{declared.type, true, Collation::kNone};
    return Status::Ok();
  }
  if (!options_.implicit_parameters) {
    return Status::InvalidArgument("[" + name + "] is no column of the query's sources");
  }
  auto known = std::find_if(implicit_.begin(), implicit_.end(), [&](const ImplicitParameter& p) {
    return EqualsIgnoreCase(p.name, name);
  });
  if (known == implicit_.end()) {
    implicit_.push_back(ImplicitParameter{name, expr.offset});
    known = implicit_.end() - 1;
  }
  known->offset = std::min(known->offset, expr.offset);
  expr.parameter = known->name;
  expr.type = ExprType{SqlType::kVariant, true, Collation::kNone};
  return Status::Ok();
}

Status Binder::BindCall(Expr& expr, const Scope& scope) {
  const BuiltInFunction* built_in = FindBuiltIn(expr.text);
  const AccessFunction* function = built_in == nullptr ? FindAccessFunction(expr.text) : nullptr;
  if (built_in == nullptr && function == nullptr) {
    return NotCarried("the function " + expr.text + "()");
  }
  const std::size_t min_args = built_in ? built_in->min_args : function->min_args;
  const std::size_t max_args = built_in ? built_in->max_args : function->max_args;
  expr.aggregate = built_in ? built_in->aggregate : function->aggregate;
  if (expr.star && (built_in == nullptr || built_in->built_in != BuiltIn::kCount)) {
    return Status::InvalidArgument(expr.text + "(*) takes a column, not *");
  }
  if (!expr.star && (expr.operands.size() < min_args || expr.operands.size() > max_args)) {
    return Status::InvalidArgument(expr.text + "() takes " + ArgumentsText(min_args, max_args));
  }
  Scope argument_scope = scope;
  if (expr.aggregate) {
    if (scope.in_aggregate) {
      return Status::InvalidArgument("the aggregate " + expr.text + "() inside another");
    }
    if (IsRowClause(scope.clause)) {
      return Status::InvalidArgument("the aggregate " + expr.text +
                                     "() in a WHERE, ON or GROUP BY");
    }
    argument_scope.in_aggregate = true;
  }
  for (const ExprPtr& operand : expr.operands) {
    if (Status status = BindExpr(*operand, argument_scope); !status.ok()) return status;
  }
  if (built_in != nullptr) {
    expr.built_in = built_in->built_in;
    return TypeBuiltIn(expr);
  }
  expr.function = function;
  std::vector<SqlType> types;
  for (const ExprPtr& operand : expr.operands) types.push_back(operand->type.type);
  const SqlType result =
      function->result_type != nullptr ? function->result_type(types) : SqlType::kVariant;
  expr.type = ExprType{result, true, Collation::kNone};
  return Status::Ok();
}

Status Binder::TypeBuiltIn(Expr& expr) {
  const auto operand = [&](std::size_t i) -> const ExprType& { return expr.operands[i]->type; };
  switch (expr.built_in) {
    case BuiltIn::kIIf:
      expr.type = ExprType{UnifyTypes(operand(1).type, operand(2).type),
                           operand(1).nullable || operand(2).nullable, Collation::kNone};
      break;
    case BuiltIn::kNz:
      if (expr.operands.size() == 2) {
        expr.type = ExprType{UnifyTypes(operand(0).type, operand(1).type), operand(1).nullable,
                             Collation::kNone};
      } else {  // Null becomes "" in a query
        expr.type = ExprType{IsTextual(operand(0).type) || operand(0).type == SqlType::kNull
                                 ? SqlType::kText
                                 : SqlType::kVariant,
                             false, Collation::kNone};
      }
      break;
    case BuiltIn::kIsNull:
      expr.type = ExprType{SqlType::kBoolean, false, Collation::kNone};
      break;
    case BuiltIn::kCount:
      expr.type = ExprType{SqlType::kInt32, false, Collation::kNone};
      break;
    case BuiltIn::kSum:
      expr.type = ExprType{SumType(operand(0).type), true, Collation::kNone};
      break;
    case BuiltIn::kAvg: {
      const SqlType type = operand(0).type;
      expr.type = ExprType{
          type == SqlType::kCurrency || type == SqlType::kDecimal ? type : SqlType::kDouble, true,
          Collation::kNone};
      break;
    }
    case BuiltIn::kMin:
    case BuiltIn::kMax:
      expr.type = ExprType{operand(0).type, true, Collation::kNone};
      break;
    case BuiltIn::kNone:
      break;
  }
  return Status::Ok();
}

Status Binder::BindSubquery(Expr& expr, const Scope& scope) {
  for (const ExprPtr& operand : expr.operands) {
    if (Status status = BindExpr(*operand, scope); !status.ok()) return status;
  }
  if (Status status = BindQuery(*expr.query, &scope); !status.ok()) return status;
  if (expr.kind != ExprKind::kExists && expr.query->columns.size() != 1) {
    return Status::InvalidArgument("a subquery compared or used as a value selects one column");
  }
  if (expr.kind == ExprKind::kScalarQuery) {
    expr.type = ExprType{expr.query->columns[0].type, true, Collation::kNone};
  } else {
    AssignType(expr);
  }
  return Status::Ok();
}

}  // namespace quellor::tagdll::sql
