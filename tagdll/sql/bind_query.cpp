#include <algorithm>
#include <map>

#include "base/ascii.h"
#include "base/str_cat.h"
#include "tagdll/sql/binding.h"
#include "tagdll/sql/expression_types.h"
#include "tagdll/sql/grouping.h"
#include "tagdll/sql/refusal.h"
#include "tagdll/sql/type_rules.h"

namespace quellor::tagdll::sql {
namespace {

// A result column compares without regard to case as a source of another query: the
// emitter gives its text columns COLLATE NOCASE there.
OutputColumn SourceColumn(const std::string& name, SqlType type) {
  return OutputColumn{name, type, IsTextual(type) || type == SqlType::kVariant};
}

BoundSource* OwnSource(Select& select, const BoundSource* source) {
  for (const std::unique_ptr<BoundSource>& own : select.sources) {
    if (own.get() == source) return own.get();
  }
  return nullptr;
}

ExprPtr ColumnReference(const BoundSource& source, std::size_t column) {
  auto expr = std::make_unique<Expr>();
  expr->kind = ExprKind::kName;
  expr->name.parts = {source.name, source.columns[column].name};
  expr->name.separators.assign(1, '.');
  expr->binding = Expr::Binding::kColumn;
  expr->source = &source;
  expr->column = column;
  expr->type = ColumnType(source.columns[column]);
  return expr;
}

void CollectSources(const FromItem& item, std::vector<const BoundSource*>& sources) {
  if (item.kind != FromItem::Kind::kJoin) {
    sources.push_back(item.bound);
    return;
  }
  CollectSources(*item.left, sources);
  CollectSources(*item.right, sources);
}

}  // namespace

Status Binder::BindQuery(Query& query, const Scope* outer) {
  for (const std::unique_ptr<Select>& part : query.parts) {
    if (Status status = BindSelect(*part, outer); !status.ok()) return status;
  }
  const std::vector<BoundItem>& first = query.parts.front()->outputs;
  query.columns.clear();
  for (const BoundItem& item : first) {
    query.columns.push_back(SourceColumn(item.name, item.type.type));
  }
  for (std::size_t i = 1; i < query.parts.size(); ++i) {
    const std::vector<BoundItem>& outputs = query.parts[i]->outputs;
    if (outputs.size() != first.size()) {
      return Status::InvalidArgument("the selects of a union have different numbers of columns");
    }
    for (std::size_t c = 0; c < outputs.size(); ++c) {
      query.columns[c] = SourceColumn(query.columns[c].name,
                                      UnifyTypes(query.columns[c].type, outputs[c].type.type));
    }
  }
  return BindUnionOrder(query);
}

Status Binder::BindUnionOrder(Query& query) {
  for (OrderItem& item : query.order_by) {
    const Expr& key = *item.expr;
    bool found = false;
    if (key.kind == ExprKind::kName) {
      for (std::size_t c = 0; c < query.columns.size() && !found; ++c) {
        if (EqualsIgnoreCase(query.columns[c].name, key.name.parts.back())) {
          item.output = c;
          found = true;
        }
      }
    } else if (key.kind == ExprKind::kNumber) {
      const long position = std::strtol(key.text.c_str(), nullptr, 10);
      found = position >= 1 && static_cast<std::size_t>(position) <= query.columns.size();
      if (found) item.output = static_cast<std::size_t>(position - 1);
    }
    if (!found) {
      return Status::InvalidArgument("a union is sorted by the names of its columns only");
    }
  }
  return Status::Ok();
}

Status Binder::BindSelect(Select& select, const Scope* outer, Scope* kept_scope) {
  for (const std::unique_ptr<FromItem>& item : select.from) {
    if (Status status = BindFrom(*item, select, outer); !status.ok()) return status;
  }
  std::vector<ItemState> item_state(select.items.size(), ItemState::kUnbound);
  Scope scope{&select, outer, Clause::kOn, &item_state, false};
  for (const std::unique_ptr<FromItem>& item : select.from) {
    if (Status status = BindJoinConditions(*item, scope); !status.ok()) return status;
  }
  if (Status status = BindItems(select, scope); !status.ok()) return status;
  const auto bind_in = [&](Expr& expr, Clause clause) {
    scope.clause = clause;
    return BindExpr(expr, scope);
  };
  if (select.where != nullptr) {
    if (Status status = bind_in(*select.where, Clause::kWhere); !status.ok()) return status;
  }
  for (const ExprPtr& key : select.group_by) {
    if (Status status = bind_in(*key, Clause::kGroupBy); !status.ok()) return status;
  }
  if (select.having != nullptr) {
    if (Status status = bind_in(*select.having, Clause::kHaving); !status.ok()) return status;
  }
  for (OrderItem& item : select.order_by) {
    if (Status status = bind_in(*item.expr, Clause::kOrderBy); !status.ok()) return status;
  }
  select.aggregate = !select.group_by.empty();
  for (const BoundItem& item : select.outputs) select.aggregate |= HasAggregate(*item.expr);
  bool aggregated_elsewhere = select.having != nullptr && HasAggregate(*select.having);
  for (const OrderItem& item : select.order_by) aggregated_elsewhere |= HasAggregate(*item.expr);
  if (!select.aggregate && aggregated_elsewhere) {  // SQLite would not take it for grouped
    return NotCarried(
        "an aggregate in HAVING or ORDER BY of a query that neither groups nor "
        "selects one");
  }
  if (select.having != nullptr && !select.aggregate) {
    return Status::InvalidArgument("HAVING in a query that neither groups nor aggregates");
  }
  if (select.aggregate) {
    if (Status status = CheckGrouping(select); !status.ok()) return status;
  }
  if (Status status = NameOutputs(select); !status.ok()) return status;
  if (Status status = DecideDistinctRow(select); !status.ok()) return status;
  if (select.distinct == Distinct::kDistinct && select.top && !select.order_by.empty()) {
    if (Status status = MapOrderToOutputs(select); !status.ok()) return status;
  }
  if (kept_scope != nullptr) *kept_scope = Scope{&select, outer, Clause::kSelectList, nullptr};
  return Status::Ok();
}

Status Binder::BindFrom(FromItem& item, Select& select, const Scope* outer) {
  if (item.kind == FromItem::Kind::kJoin) {
    if (Status status = BindFrom(*item.left, select, outer); !status.ok()) return status;
    return BindFrom(*item.right, select, outer);
  }
  auto source = std::make_unique<BoundSource>();
  source->alias = item.alias;
  source->name = item.alias.empty() ? item.name : item.alias;
  if (item.kind == FromItem::Kind::kQuery) {
    if (Status status = BindQuery(*item.query, outer); !status.ok()) return status;
    source->kind = BoundSource::Kind::kSubquery;
    source->columns = item.query->columns;
  } else {
    Result<std::optional<NamedSource>> named = resolver_.Resolve(item.name);
    if (!named.ok()) return named.status();
    if (!named->has_value()) {
      return Status::InvalidArgument("no table or query is named [" + item.name + "]");
    }
    source->kind = (*named)->kind;
    source->sql_name = (*named)->sql_name;
    source->columns = std::move((*named)->columns);
    source->has_rowid = (*named)->has_rowid;
    source->primary_key = std::move((*named)->primary_key);
  }
  for (const std::unique_ptr<BoundSource>& other : select.sources) {
    if (EqualsIgnoreCase(other->name, source->name)) {
      return Status::InvalidArgument("[" + source->name +
                                     "] is named twice in FROM: give one of them an alias");
    }
  }
  item.bound = source.get();
  select.sources.push_back(std::move(source));
  return Status::Ok();
}

// An ON sees the sources of its own join only, as Access allows.
Status Binder::BindJoinConditions(FromItem& item, Scope scope) {
  if (item.kind != FromItem::Kind::kJoin) return Status::Ok();
  if (Status status = BindJoinConditions(*item.left, scope); !status.ok()) return status;
  if (Status status = BindJoinConditions(*item.right, scope); !status.ok()) return status;
  std::vector<const BoundSource*> joined;
  CollectSources(item, joined);
  scope.joined = &joined;
  scope.item_state = nullptr;
  return BindExpr(*item.on, scope);
}

Status Binder::BindItems(Select& select, Scope& scope) {
  scope.clause = Clause::kSelectList;
  for (std::size_t i = 0; i < select.items.size(); ++i) {
    SelectItem& item = select.items[i];
    if (!item.star) {
      ItemState& state = (*scope.item_state)[i];
      if (state == ItemState::kUnbound) {
        state = ItemState::kBinding;
        if (Status status = BindExpr(*item.expr, scope); !status.ok()) return status;
        state = ItemState::kBound;
      }
      select.outputs.push_back(BoundItem{item.expr.get(), item.alias, item.expr->type});
      continue;
    }
    bool matched = item.star_source.empty();
    for (const std::unique_ptr<BoundSource>& source : select.sources) {
      if (!item.star_source.empty() && !EqualsIgnoreCase(source->name, item.star_source)) continue;
      matched = true;
      for (std::size_t c = 0; c < source->columns.size(); ++c) {
        select.expanded.push_back(ColumnReference(*source, c));
        const Expr& column = *select.expanded.back();
        select.outputs.push_back(BoundItem{&column, "", column.type});
      }
    }
    if (!matched) {
      return Status::InvalidArgument("no source is named [" + item.star_source + "] for " +
                                     item.star_source + ".*");
    }
  }
  if (select.outputs.empty()) return Status::InvalidArgument("the select list has no columns");
  return Status::Ok();
}

Status Binder::CheckGrouping(const Select& select) {
  std::vector<const Expr*> checked;
  for (const BoundItem& item : select.outputs) checked.push_back(item.expr);
  if (select.having != nullptr) checked.push_back(select.having.get());
  for (const OrderItem& item : select.order_by) checked.push_back(item.expr.get());
  for (const Expr* expr : checked) {
    if (const Expr* ungrouped = FirstUngrouped(*expr, select)) {
      return Status::InvalidArgument(
          StrCat("[", ungrouped->name.Text(), "] is neither grouped nor aggregated"));
    }
  }
  return Status::Ok();
}

Status Binder::NameOutputs(Select& select) {
  std::vector<bool> aliased(select.outputs.size());
  for (std::size_t i = 0; i < select.outputs.size(); ++i) {
    BoundItem& item = select.outputs[i];
    aliased[i] = !item.name.empty();
    if (aliased[i]) continue;
    if (item.expr->binding == Expr::Binding::kColumn) {
      item.name = item.expr->source->columns[item.expr->column].name;
    } else {
      item.name = "Expr" + std::to_string(1000 + i);
    }
  }
  // Two columns of one name: the column references among them are named Table.Column.
  std::map<std::string, int> uses;
  for (const BoundItem& item : select.outputs) ++uses[ToUpperAscii(item.name)];
  for (std::size_t i = 0; i < select.outputs.size(); ++i) {
    BoundItem& item = select.outputs[i];
    if (uses[ToUpperAscii(item.name)] > 1 && !aliased[i] &&
        item.expr->binding == Expr::Binding::kColumn) {
      item.name = item.expr->source->name + "." + item.name;
    }
  }
  uses.clear();
  for (const BoundItem& item : select.outputs) {
    if (++uses[ToUpperAscii(item.name)] > 1) {
      return Status::InvalidArgument("two columns of the result are named [" + item.name + "]");
    }
  }
  return Status::Ok();
}

Status Binder::DecideDistinctRow(Select& select) {
  if (select.distinct != Distinct::kDistinctRow) return Status::Ok();
  if (select.aggregate) {  // a group is no row of a table: Access ignores DISTINCTROW
    select.distinct = Distinct::kAll;
    return Status::Ok();
  }
  for (const BoundItem& item : select.outputs) {
    ForEachColumn(*item.expr, [&](const Expr& column) {
      if (BoundSource* own = OwnSource(select, column.source)) own->has_selected_column = true;
    });
  }
  const std::size_t selected =
      std::count_if(select.sources.begin(), select.sources.end(),
                    [](const std::unique_ptr<BoundSource>& s) { return s->has_selected_column; });
  if (selected == 0 || selected == select.sources.size()) {
    select.distinct = Distinct::kAll;  // every source shows its rows: nothing to remove
    return Status::Ok();
  }
  for (const std::unique_ptr<BoundSource>& source : select.sources) {
    if (!source->has_selected_column) continue;
    const bool identified = source->has_rowid || !source->primary_key.empty();
    if (source->kind != BoundSource::Kind::kTable || !identified) {
      return NotCarried("DISTINCTROW that must tell apart the rows of [" + source->name + "]");
    }
    select.distinct_row_sources.push_back(source.get());
  }
  return Status::Ok();
}

Status Binder::MapOrderToOutputs(Select& select) {
  for (OrderItem& order : select.order_by) {
    bool found = false;
    for (std::size_t i = 0; i < select.outputs.size() && !found; ++i) {
      if (SameExpression(*order.expr, *select.outputs[i].expr)) {
        order.output = i;
        found = true;
      }
    }
    if (!found) {
      return NotCarried("TOP with DISTINCT sorted by a column it does not select");
    }
  }
  return Status::Ok();
}

}  // namespace quellor::tagdll::sql
