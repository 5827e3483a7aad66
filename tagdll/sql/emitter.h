// Writes the SQLite SQL of a bound tree. Values are held as sql_type.h says: a Boolean is 1 or
// 0 (True is -1 only where it is used as a number: arithmetic, sums, ordering), a date is
// ISO text (a number where arithmetic needs its serial). So:
//
//   x = True          x = 1              (matches a stored Yes)
//   True + 1          -1 + 1
//   a / b             CAST(a AS REAL) / b
//   a \ b, a Mod b    access_intdiv(a, b), access_mod(a, b)
//   a & b             coalesce(a, '') || coalesce(b, ''), Null when both are Null; a
//                     non-text operand through access_text(v, type)
//   a Like p          access_like(a, p)
//   Left(s, n)        access_left(s, n), s as function_arguments.h hands it over
//   CStr(x)           access_cstr(x, type of x): a type-hinted function's hint follows
//   IIf(c, a, b)      CASE WHEN c THEN a ELSE b END
//   Nz(v, d)          coalesce(v, d)
//
// Text compares, groups, sorts and is made distinct without regard to case: COLLATE NOCASE
// is added wherever SQLite would otherwise compare bytes. TOP n keeps the ties at the
// boundary (rank() over the ORDER BY); DISTINCTROW that Access does not ignore groups by the
// row ids of the sources that show columns.
#pragma once

#include <string>
#include <vector>

#include "tagdll/sql/function_arguments.h"
#include "tagdll/sql/tree.h"

namespace quellor::tagdll::sql {

// A name as an SQLite identifier; a text as an SQLite literal.
std::string QuoteName(std::string_view name);
std::string QuoteText(std::string_view text);

class Emitter final {
 public:
  // `parameters`: every parameter name of the statement, in position order (?1 first).
  explicit Emitter(const std::vector<std::string>& parameters) : parameters_(parameters) {}

  // `as_source`: the query is read by another (a CTE or a subquery), so that its text columns
  // carry COLLATE NOCASE for the comparisons made there.
  std::string Query(const sql::Query& query, bool as_source);
  std::string Insert(const sql::Insert& insert);

  // The parts of a select, for the crosstab.
  std::string Value(const Expr& expr);
  std::string Number(const Expr& expr);  // a Boolean as -1/0, a date as its serial
  std::string From(const Select& select);
  std::string Clauses(const Select& select, const Expr* except_group_key);
  std::string OrderKey(const Expr& expr, bool descending);
  std::string GroupKey(const Expr& expr);
  std::string OutputItem(const BoundItem& item, bool with_collation);
  // Compares a value with an SQL literal of a heading (the pivot of a crosstab).
  std::string MatchesHeading(const Expr& pivot, const std::string& value);
  // Appended to every aggregate call written while set: FILTER (WHERE ...).
  void set_aggregate_filter(std::string filter) { aggregate_filter_ = std::move(filter); }

  // Whether an expression outgrew kMaxSqlSize (an operand repeated inside a repeated one, as
  // & and + of untyped values repeat theirs); what was written since is incomplete.
  bool too_large() const { return too_large_; }
  static constexpr std::size_t kMaxSqlSize = 1 << 20;

 private:
  std::string Written(const Expr& expr);
  std::string Select(const sql::Select& select, bool as_source, bool in_union);
  std::string TopSelect(const sql::Select& select, const std::string& items);
  std::string FromItem(const sql::FromItem& item);
  std::string Column(const Expr& expr);
  std::string Parameter(const Expr& expr);
  std::string Text(const Expr& expr);
  std::string Converted(const Expr& expr, SqlType target);
  std::string Binary(const Expr& expr);
  std::string Arithmetic(const Expr& expr);
  std::string Concat(const Expr& left, const Expr& right);
  std::string Comparison(Op op, const Expr& left, const Expr& right);
  std::string Keyed(const Expr& value);  // a value with COLLATE NOCASE when it is text
  std::string Between(const Expr& expr);
  std::string InList(const Expr& expr);
  std::string Call(const Expr& expr);
  std::string Argument(const Expr& argument, ArgumentKind kind);
  std::string BuiltInCall(const Expr& expr);
  std::string Aggregate(const std::string& function, const std::string& argument);

  const std::vector<std::string>& parameters_;
  std::string aggregate_filter_;
  bool too_large_ = false;
};

}  // namespace quellor::tagdll::sql
