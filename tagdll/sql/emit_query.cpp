#include "base/str_cat.h"
#include "tagdll/sql/emitter.h"
#include "tagdll/sql/expression_types.h"
#include "tagdll/sql/grouping.h"
#include "tagdll/sql/type_rules.h"

namespace quellor::tagdll::sql {
namespace {

constexpr std::string_view kNocase = " COLLATE NOCASE";
// The columns a TOP adds beneath the select, named so that no Access name can meet them.
constexpr std::string_view kRank = "\"rank:top\"";
constexpr std::string_view kCount = "\"count:top\"";

std::string JoinKeyword(JoinType join) {
  switch (join) {
    case JoinType::kLeft:
      return " LEFT JOIN ";
    case JoinType::kRight:
      return " RIGHT JOIN ";
    default:
      return " INNER JOIN ";
  }
}

// A sort key over a result column by its name, as a union or a DISTINCT with TOP needs it.
std::string OutputKey(const std::string& name, SqlType type, bool descending) {
  std::string key = StrCat(type == SqlType::kBoolean ? "-" : "", QuoteName(name));
  if (IsTextLike(type)) key += kNocase;
  return descending ? key + " DESC" : key;
}

// SQLite takes an integer constant among the keys of ORDER BY or GROUP BY for the position of
// a result column; Access takes it for the constant it is.
bool IsIntegerConstant(const Expr& expr) {
  if (expr.binding == Expr::Binding::kAlias) return IsIntegerConstant(*expr.alias);
  if (expr.kind == ExprKind::kUnary) return IsIntegerConstant(*expr.operands[0]);
  return expr.kind == ExprKind::kBoolean ||
         (expr.kind == ExprKind::kNumber &&
          expr.text.find_first_not_of("0123456789") == std::string::npos);
}

}  // namespace

std::string Emitter::Query(const sql::Query& query, bool as_source) {
  if (query.parts.size() == 1) return Select(*query.parts.front(), as_source, false);
  std::string text;
  for (std::size_t i = 0; i < query.parts.size(); ++i) {
    if (i > 0) text += query.union_all[i - 1] ? " UNION ALL " : " UNION ";
    const sql::Select& part = *query.parts[i];
    const std::string part_text = Select(part, as_source, true);
    // SQLite sorts and limits only the whole of a compound select.
    text += part.order_by.empty() && !part.top ? part_text : "SELECT * FROM (" + part_text + ")";
  }
  if (query.order_by.empty()) return text;
  std::string keys;
  for (const OrderItem& item : query.order_by) {
    if (!keys.empty()) keys += ", ";
    const OutputColumn& column = query.columns[item.output];
    keys += OutputKey(column.name, column.type, item.descending);
  }
  return StrCat("SELECT * FROM (", text, ") ORDER BY ", keys);
}

std::string Emitter::OutputItem(const BoundItem& item, bool with_collation) {
  std::string text = Value(*item.expr);
  if (with_collation && IsTextLike(item.type.type) && !ComparesWithoutCase(item.expr->type)) {
    text += kNocase;
  }
  return text + " AS " + QuoteName(item.name);
}

std::string Emitter::Select(const sql::Select& select, bool as_source, bool in_union) {
  const bool collate = as_source || in_union || select.distinct == Distinct::kDistinct;
  std::string items;
  for (const BoundItem& item : select.outputs) {
    if (!items.empty()) items += ", ";
    items += OutputItem(item, collate);
  }
  if (select.top) return TopSelect(select, items);
  std::string text = "SELECT ";
  if (select.distinct == Distinct::kDistinct) text += "DISTINCT ";
  text += items + From(select) + Clauses(select, nullptr);
  for (std::size_t i = 0; i < select.order_by.size(); ++i) {
    text += i == 0 ? " ORDER BY " : ", ";
    text += OrderKey(*select.order_by[i].expr, select.order_by[i].descending);
  }
  return text;
}

// TOP n keeps every row that ties with the last one by the ORDER BY: the rows ranked n or
// better. TOP n PERCENT keeps the rows ranked within n percent of the rows, rounded up.
std::string Emitter::TopSelect(const sql::Select& select, const std::string& items) {
  const Top& top = *select.top;
  const bool distinct = select.distinct == Distinct::kDistinct;
  const std::string core = items + From(select) + Clauses(select, nullptr);
  const std::string count = std::to_string(top.count);
  if (select.order_by.empty() && !top.percent) {
    return std::string("SELECT ") + (distinct ? "DISTINCT " : "") + core + " LIMIT " + count;
  }
  std::string keys;
  for (const OrderItem& item : select.order_by) {
    if (!keys.empty()) keys += ", ";
    if (distinct) {
      const BoundItem& output = select.outputs[item.output];
      keys += OutputKey(output.name, output.type.type, item.descending);
    } else {
      keys += OrderKey(*item.expr, item.descending);
    }
  }
  std::string windows =
      keys.empty() ? "row_number() OVER ()" : "rank() OVER (ORDER BY " + keys + ")";
  windows += " AS " + std::string(kRank);
  if (top.percent) windows += ", count(*) OVER () AS " + std::string(kCount);
  const std::string inner =
      distinct ? "SELECT *, " + windows + " FROM (SELECT DISTINCT " + core + ")"
               : "SELECT " + items + ", " + windows + From(select) + Clauses(select, nullptr);
  std::string names;
  for (const BoundItem& output : select.outputs) {
    if (!names.empty()) names += ", ";
    names += QuoteName(output.name);
  }
  const std::string kept = top.percent ? std::string(kRank) + " <= (" + std::string(kCount) +
                                             " * " + count + " + 99) / 100"
                                       : std::string(kRank) + " <= " + count;
  return "SELECT " + names + " FROM (" + inner + ") WHERE " + kept + " ORDER BY " +
         std::string(kRank);
}

std::string Emitter::From(const sql::Select& select) {
  std::string text;
  for (const std::unique_ptr<sql::FromItem>& item : select.from) {
    text += text.empty() ? " FROM " : ", ";
    text += FromItem(*item);
  }
  return text;
}

std::string Emitter::FromItem(const sql::FromItem& item) {
  switch (item.kind) {
    case FromItem::Kind::kNamed: {
      std::string text = QuoteName(item.bound->sql_name);
      return item.alias.empty() ? text : text + " AS " + QuoteName(item.alias);
    }
    case FromItem::Kind::kQuery:
      return StrCat("(", Query(*item.query, true), ") AS ", QuoteName(item.alias));
    case FromItem::Kind::kJoin: {
      const std::string text = FromItem(*item.left) + JoinKeyword(item.join) +
                               FromItem(*item.right) + " ON " + Value(*item.on);
      return item.parenthesized ? "(" + text + ")" : text;
    }
  }
  return "";
}

std::string Emitter::Clauses(const sql::Select& select, const Expr* except_group_key) {
  std::string text;
  if (select.where != nullptr) text += " WHERE " + Value(*select.where);
  std::string groups;
  for (const ExprPtr& key : select.group_by) {
    if (except_group_key != nullptr && SameExpression(*key, *except_group_key)) continue;
    groups += groups.empty() ? "" : ", ";
    groups += GroupKey(*key);
  }
  if (select.distinct == Distinct::kDistinctRow) {
    for (const BoundSource* source : select.distinct_row_sources) {
      const std::string qualifier = QuoteName(source->Qualifier()) + ".";
      if (source->has_rowid) {
        groups += (groups.empty() ? "" : ", ") + qualifier + "rowid";
        continue;
      }
      for (const std::string& column : source->primary_key) {
        groups += (groups.empty() ? "" : ", ") + qualifier + QuoteName(column);
      }
    }
  }
  if (!groups.empty()) text += " GROUP BY " + groups;
  if (select.having != nullptr) text += " HAVING " + Value(*select.having);
  return text;
}

std::string Emitter::OrderKey(const Expr& expr, bool descending) {
  std::string key = expr.type.type == SqlType::kBoolean ? Number(expr) : Keyed(expr);
  if (IsIntegerConstant(expr)) key = "(" + key + " + 0)";
  return descending ? key + " DESC" : key;
}

std::string Emitter::GroupKey(const Expr& expr) {
  return IsIntegerConstant(expr) ? StrCat("(", Keyed(expr), " + 0)") : Keyed(expr);
}

std::string Emitter::MatchesHeading(const Expr& pivot, const std::string& value) {
  if (value == "NULL") return StrCat("(", Value(pivot), " IS NULL)");
  if (pivot.type.type == SqlType::kBoolean) return StrCat("(", Number(pivot), " = ", value, ")");
  const bool collate = IsTextLike(pivot.type.type) && !ComparesWithoutCase(pivot.type);
  return StrCat("(", Value(pivot), " = ", value, collate ? kNocase : "", ")");
}

std::string Emitter::Insert(const sql::Insert& insert) {
  std::string columns;
  for (const std::string& column : insert.sql_columns) {
    if (!columns.empty()) columns += ", ";
    columns += QuoteName(column);
  }
  std::string text = "INSERT INTO " + QuoteName(insert.sql_table) + " (" + columns + ") ";
  if (insert.query != nullptr) return text + Query(*insert.query, false);
  std::string values;
  for (const ExprPtr& value : insert.values) {
    if (!values.empty()) values += ", ";
    values += Value(*value);
  }
  return text + "VALUES (" + values + ")";
}

}  // namespace quellor::tagdll::sql
