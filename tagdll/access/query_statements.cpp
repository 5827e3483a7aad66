#include "tagdll/access/query_statements.h"

#include <optional>
#include <vector>

#include "base/ascii.h"
#include "tagdll/access/query_from_clause.h"
#include "tagdll/access/sql_names.h"

namespace quellor::tagdll::access {
namespace {

constexpr int kUnionDistinctFlag = 0x02;
// Roles of a crosstab query's columns and groups.
constexpr int kPivotRole = 0x01;
constexpr int kRowHeadingRole = 0x02;
// An append query's column that is a value of INSERT ... VALUES.
constexpr int kAppendValueFlag = 0x8000;
constexpr std::string_view kUnionPart1 = "X7YZ_____1";
constexpr std::string_view kUnionPart2 = "X7YZ_____2";

Status Damaged(const std::string& reason) { return Status::Corruption(reason); }

std::string Join(const std::vector<std::string>& items, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += separator;
    out += items[i];
  }
  return out;
}

std::string Line(std::string_view keyword, std::string_view text) {
  return std::string(kNewline) + std::string(keyword) + " " + std::string(text);
}

// A target column such as "Orders.OrderID": each dotted part quoted as it needs.
std::string QuotedDottedName(std::string_view name) {
  std::string out;
  for (std::size_t start = 0;;) {
    const std::size_t dot = name.find('.', start);
    out += QuotedName(name.substr(start, dot - start));
    if (dot == std::string_view::npos) return out;
    out += '.';
    start = dot + 1;
  }
}

Result<std::string> Expression(const QueryRow& row, std::string_view what) {
  if (!row.expression) return Damaged("a " + std::string(what) + " row without an expression");
  return *row.expression;
}

// " IN 'path' [type]": a source or target in another file; empty for none.
std::string InClause(const std::optional<std::string>& path,
                     const std::optional<std::string>& type) {
  if (!path && !type) return "";
  std::string clause = " IN '" + path.value_or("") + "'";
  if (type) clause += " [" + *type + "]";
  return clause;
}

// The part of a union query named `part`, without the blank lines around it.
Result<std::string> UnionPart(const QueryParts& parts, std::string_view part) {
  for (const QueryRow* row : parts.rows(kSourceAttribute)) {
    if (row->name2 != part) continue;
    Result<std::string> text = Expression(*row, "union part");
    if (!text.ok()) return text;
    return std::string(TrimAscii(*text));
  }
  return Damaged("a union query without its part " + std::string(part));
}

class StatementWriter final {
 public:
  StatementWriter(const QueryParts& parts, QueryType type) : parts_(parts), type_(type) {}

  Result<std::string> Write() {
    Result<const QueryRow*> flags_row = parts_.Single(kFlagsAttribute, "flags");
    if (!flags_row.ok()) return flags_row.status();
    flags_row_ = *flags_row;
    flags_ = flags_row_ != nullptr ? FlagOf(*flags_row_) : 0;
    const QueryRowList& columns = parts_.rows(kColumnAttribute);
    const QueryRowList& groups = parts_.rows(kGroupByAttribute);
    switch (type_) {
      case QueryType::kSelect:
      case QueryType::kMakeTable:
        return Select("SELECT", columns, groups);
      case QueryType::kDelete:
        return Select("DELETE", columns, groups);
      case QueryType::kAppend:
        return Append();
      case QueryType::kUpdate:
        return Update();
      case QueryType::kCrosstab:
        return Crosstab();
      case QueryType::kUnion:
        return Union();
      case QueryType::kDataDefinition:
        return DataDefinition();
      case QueryType::kPassThrough:
        break;
    }
    return Status::Unsupported("a pass-through query, whose text is another server's SQL");
  }

 private:
  // "SELECT DISTINCTROW TOP 10 a, b AS c", or DELETE's "DELETE a.*".
  Result<std::string> SelectLine(std::string_view verb, const QueryRowList& columns) {
    std::string line(verb);
    if (verb == "SELECT") {
      if ((flags_ & kDistinctFlag) != 0) {
        line += " DISTINCT";
      } else if ((flags_ & kDistinctRowFlag) != 0) {
        line += " DISTINCTROW";
      }
      if ((flags_ & kTopFlag) != 0) {
        if (flags_row_->name1.value_or("").empty()) return Damaged("TOP without a count");
        line += " TOP " + *flags_row_->name1;
        if ((flags_ & kPercentFlag) != 0) line += " PERCENT";
      }
    }
    std::vector<std::string> items;
    for (const QueryRow* row : columns) {
      Result<std::string> expression = Expression(*row, "column");
      if (!expression.ok()) return expression;
      items.push_back(*expression + (row->name1 ? " AS " + QuotedName(*row->name1) : ""));
    }
    if ((flags_ & kAllColumnsFlag) != 0) items.push_back("*");
    if (items.empty() && verb == "SELECT") return Damaged("a query without output columns");
    if (!items.empty()) line.append(" ").append(Join(items, ", "));
    return line;
  }

  Result<std::string> Select(std::string_view verb, const QueryRowList& columns,
                             const QueryRowList& groups) {
    Result<std::string> sql = SelectLine(verb, columns);
    if (!sql.ok()) return sql;
    if (type_ == QueryType::kMakeTable) {
      Result<std::string> target = Target();
      if (!target.ok()) return target;
      *sql += " INTO " + *target;
    }
    Status status = AppendFrom(*sql);
    if (status.ok()) status = AppendTail(*sql, groups);
    if (!status.ok()) return status;
    return sql;
  }

  // The target of a make-table or append query, from the type row.
  Result<std::string> Target() {
    const QueryRowList& type_rows = parts_.rows(kTypeAttribute);
    if (type_rows.empty() || !type_rows.front()->name1) {
      return Damaged("an action query without its target table");
    }
    const QueryRow& row = *type_rows.front();
    return QuotedDottedName(*row.name1) + InClause(row.name2, row.expression);
  }

  Result<std::string> Append() {
    Result<std::string> target = Target();
    if (!target.ok()) return target;
    std::string sql = "INSERT INTO " + *target;
    std::vector<std::string> targets;
    for (const QueryRow* row : parts_.rows(kColumnAttribute)) {
      if (row->name2) targets.push_back(QuotedDottedName(*row->name2));
    }
    if (!targets.empty()) sql += " ( " + Join(targets, ", ") + " )";
    const QueryRowList values = RowsWithFlag(parts_.rows(kColumnAttribute), kAppendValueFlag);
    if (values.empty()) {
      Result<std::string> select =
          Select("SELECT", RowsWithFlag(parts_.rows(kColumnAttribute), kAppendValueFlag, false),
                 parts_.rows(kGroupByAttribute));
      if (!select.ok()) return select;
      return sql + std::string(kNewline) + *select;
    }
    std::vector<std::string> items;
    for (const QueryRow* row : values) {
      Result<std::string> expression = Expression(*row, "value");
      if (!expression.ok()) return expression;
      items.push_back(*expression);
    }
    return sql + std::string(kNewline) + "VALUES (" + Join(items, ", ") + ")";
  }

  Result<std::string> Update() {
    Result<std::string> from = From();
    if (!from.ok()) return from;
    std::vector<std::string> assignments;
    for (const QueryRow* row : parts_.rows(kColumnAttribute)) {
      Result<std::string> expression = Expression(*row, "column");
      if (!expression.ok()) return expression;
      assignments.push_back(QuotedDottedName(row->name2.value_or("")) + " = " + *expression);
    }
    if (from->empty() || assignments.empty()) return Damaged("an update without table or values");
    std::string sql = "UPDATE " + *from + Line("SET", Join(assignments, ", "));
    Status status = AppendSingle(sql, kWhereAttribute, "WHERE");
    if (!status.ok()) return status;
    return sql;
  }

  Result<std::string> Crosstab() {
    const QueryRowList& columns = parts_.rows(kColumnAttribute);
    const QueryRowList values = RowsWithFlag(columns, kPivotRole | kRowHeadingRole, false);
    const QueryRowList pivots = RowsWithFlag(columns, kPivotRole);
    if (values.size() != 1 || pivots.size() != 1) {
      return Damaged("a crosstab query without one value and one column heading");
    }
    Result<std::string> value = Expression(*values.front(), "value");
    Result<std::string> pivot = Expression(*pivots.front(), "column heading");
    if (!value.ok()) return value;
    if (!pivot.ok()) return pivot;
    if (values.front()->name1) *value += " AS " + QuotedName(*values.front()->name1);
    Result<std::string> select =
        Select("SELECT", RowsWithFlag(columns, kRowHeadingRole),
               RowsWithFlag(parts_.rows(kGroupByAttribute), kRowHeadingRole));
    if (!select.ok()) return select;
    return "TRANSFORM " + *value + std::string(kNewline) + *select + Line("PIVOT", *pivot);
  }

  Result<std::string> Union() {
    Result<std::string> first = UnionPart(parts_, kUnionPart1);
    Result<std::string> second = UnionPart(parts_, kUnionPart2);
    if (!first.ok()) return first;
    if (!second.ok()) return second;
    std::string sql = *first + std::string(kNewline) + "UNION " +
                      ((flags_ & kUnionDistinctFlag) != 0 ? "" : "ALL ") + *second;
    Status status = AppendList(sql, "ORDER BY", parts_.rows(kOrderByAttribute), true);
    if (!status.ok()) return status;
    return sql;
  }

  Result<std::string> DataDefinition() {
    Result<const QueryRow*> type_row = parts_.Single(kTypeAttribute, "type");
    if (!type_row.ok()) return type_row.status();
    if (*type_row == nullptr || !(*type_row)->expression) {
      return Damaged("a data-definition query without its text");
    }
    return *(*type_row)->expression;
  }

  // The FROM clause's content, with the file it reads from; empty for no sources.
  Result<std::string> From() {
    if (parts_.rows(kSourceAttribute).empty()) return std::string();
    Result<std::string> from =
        BuildFromClause(parts_.rows(kSourceAttribute), parts_.rows(kJoinAttribute));
    if (!from.ok()) return from;
    Result<const QueryRow*> file = parts_.Single(kSourceFileAttribute, "source file");
    if (!file.ok()) return file.status();
    if (*file != nullptr) *from += InClause((*file)->name1, (*file)->expression);
    return from;
  }

  Status AppendFrom(std::string& sql) {
    Result<std::string> from = From();
    if (!from.ok()) return from.status();
    if (!from->empty()) sql += Line("FROM", *from);
    return Status::Ok();
  }

  // WHERE, GROUP BY, HAVING and ORDER BY, each on a line of its own.
  Status AppendTail(std::string& sql, const QueryRowList& groups) {
    Status status = AppendSingle(sql, kWhereAttribute, "WHERE");
    if (status.ok()) status = AppendList(sql, "GROUP BY", groups, false);
    if (status.ok()) status = AppendSingle(sql, kHavingAttribute, "HAVING");
    if (status.ok()) status = AppendList(sql, "ORDER BY", parts_.rows(kOrderByAttribute), true);
    return status;
  }

  Status AppendSingle(std::string& sql, int attribute, std::string_view keyword) {
    Result<const QueryRow*> row = parts_.Single(attribute, keyword);
    if (!row.ok() || *row == nullptr) return row.status();
    Result<std::string> expression = Expression(**row, keyword);
    if (!expression.ok()) return expression.status();
    sql += Line(keyword, *expression);
    return Status::Ok();
  }

  // A list of expressions; ORDER BY's rows say DESC with a Name1 of "D".
  Status AppendList(std::string& sql, std::string_view keyword, const QueryRowList& rows,
                    bool with_direction) {
    std::vector<std::string> items;
    for (const QueryRow* row : rows) {
      Result<std::string> expression = Expression(*row, keyword);
      if (!expression.ok()) return expression.status();
      const bool descending = with_direction && EqualsIgnoreCase(row->name1.value_or(""), "D");
      items.push_back(*expression + (descending ? " DESC" : ""));
    }
    if (!items.empty()) sql += Line(keyword, Join(items, ", "));
    return Status::Ok();
  }

  const QueryParts& parts_;
  QueryType type_;
  const QueryRow* flags_row_ = nullptr;
  int flags_ = 0;
};

}  // namespace

Result<std::string> WriteStatement(const QueryParts& parts, QueryType type) {
  return StatementWriter(parts, type).Write();
}

}  // namespace quellor::tagdll::access
