#include "tagdll/sql/crosstab.h"

#include <cstdio>
#include <set>

#include "base/ascii.h"
#include "tagdll/sql/grouping.h"
#include "tagdll/sql/refusal.h"
#include "tagdll/sql/type_rules.h"

namespace quellor::tagdll::sql {
namespace {

constexpr std::size_t kMaxHeadings = 255;  // Access's limit of columns in a query

std::string NumberText(double value, int digits) {
  char text[40];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}

// A fixed heading as its column's name: as the IN list writes it.
std::string FixedHeadingName(const Expr& heading) {
  switch (heading.kind) {
    case ExprKind::kNull:
      return "<>";
    case ExprKind::kBoolean:
      return heading.truth ? "-1" : "0";
    case ExprKind::kUnary:
      return "-" + heading.operands[0]->text;
    default:
      return heading.text;
  }
}

Heading HeadingOfValue(const ScalarValue& value) {
  switch (value.kind) {
    case ScalarValue::Kind::kNull:
      return Heading{"<>", "NULL"};
    case ScalarValue::Kind::kInteger:
      return Heading{std::to_string(value.integer), std::to_string(value.integer)};
    case ScalarValue::Kind::kReal:
      return Heading{NumberText(value.real, 15), NumberText(value.real, 17)};
    case ScalarValue::Kind::kText:
      return Heading{value.text, QuoteText(value.text)};
  }
  return Heading{"<>", "NULL"};
}

Result<std::vector<Heading>> ReadHeadings(const Crosstab& crosstab, Emitter& emitter,
                                          const std::string& with, Catalog& catalog) {
  const Select& select = *crosstab.select;
  const Expr& pivot = *crosstab.pivot;
  std::string sql =
      with + "SELECT DISTINCT " +
      (pivot.type.type == SqlType::kBoolean ? emitter.Number(pivot) : emitter.GroupKey(pivot)) +
      emitter.From(select);
  if (select.where != nullptr) sql += " WHERE " + emitter.Value(*select.where);
  Result<std::vector<ScalarValue>> values = catalog.ReadColumn(sql + " ORDER BY 1");
  if (!values.ok()) return values.status();
  std::vector<Heading> headings;
  for (const ScalarValue& value : *values) headings.push_back(HeadingOfValue(value));
  return headings;
}

}  // namespace

Status ResolveHeadings(Crosstab& crosstab, Emitter& emitter, const std::string& with,
                       Catalog& catalog) {
  crosstab.resolved.clear();
  if (crosstab.headings.empty()) {
    Result<std::vector<Heading>> read = ReadHeadings(crosstab, emitter, with, catalog);
    if (!read.ok()) return read.status();
    crosstab.resolved = std::move(read).value();
  } else {
    const bool boolean = crosstab.pivot->type.type == SqlType::kBoolean;
    for (const ExprPtr& heading : crosstab.headings) {
      crosstab.resolved.push_back(
          Heading{FixedHeadingName(*heading),
                  boolean ? emitter.Number(*heading) : emitter.Value(*heading)});
    }
  }
  if (crosstab.resolved.size() > kMaxHeadings) {
    return NotCarried("a crosstab of more than 255 column headings");
  }
  crosstab.columns.clear();
  std::set<std::string> names;
  const auto add = [&](const std::string& name, SqlType type) {
    crosstab.columns.push_back(OutputColumn{name, type, IsTextLike(type)});
    return names.insert(ToUpperAscii(name)).second;
  };
  for (const BoundItem& item : crosstab.select->outputs) add(item.name, item.type.type);
  for (const Heading& heading : crosstab.resolved) {
    if (!add(heading.name, crosstab.value->type.type)) {
      return Status::InvalidArgument("two columns of the crosstab are named [" + heading.name +
                                     "]");
    }
  }
  return Status::Ok();
}

std::string EmitCrosstab(const Crosstab& crosstab, Emitter& emitter) {
  const Select& select = *crosstab.select;
  std::string items;
  for (const BoundItem& item : select.outputs) {
    items += items.empty() ? "" : ", ";
    items += emitter.OutputItem(item, false);
  }
  // A cell with no rows of its heading is empty, whatever the aggregate (a Count too).
  for (const Heading& heading : crosstab.resolved) {
    const std::string filter =
        " FILTER (WHERE " + emitter.MatchesHeading(*crosstab.pivot, heading.value) + ")";
    emitter.set_aggregate_filter(filter);
    items += items.empty() ? "" : ", ";
    items += "(CASE WHEN count(*)" + filter + " = 0 THEN NULL ELSE " +
             emitter.Value(*crosstab.value) + " END) AS " + QuoteName(heading.name);
  }
  emitter.set_aggregate_filter("");
  std::string text =
      "SELECT " + items + emitter.From(select) + emitter.Clauses(select, crosstab.pivot.get());
  std::string order;
  for (const OrderItem& item : select.order_by) {
    order += order.empty() ? " ORDER BY " : ", ";
    order += emitter.OrderKey(*item.expr, item.descending);
  }
  if (order.empty()) {
    for (const BoundItem& item : select.outputs) {
      if (HasAggregate(*item.expr)) continue;  // a row total, not a row heading
      order += order.empty() ? " ORDER BY " : ", ";
      order += emitter.OrderKey(*item.expr, false);
    }
  }
  return text + order;
}

}  // namespace quellor::tagdll::sql
