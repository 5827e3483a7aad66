// The tree of an Access SQL statement. The parser builds it; the binder then resolves its
// names and types it in place (the fields marked "bound"), so that the emitter can write the
// SQLite text from it. A bound tree is not changed again: the translation of a saved query
// keeps its tree and emits it for every query that uses it.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tagdll/sql/sql_type.h"

namespace quellor::tagdll::sql {

struct AccessFunction;
struct Query;

enum class Op {
  kNegate,
  kNot,  // unary
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kIntDivide,
  kMod,
  kPower,
  kConcat,
  kEqual,
  kNotEqual,
  kLess,
  kLessEqual,
  kGreater,
  kGreaterEqual,
  kAnd,
  kOr,
  kXor,
};

enum class ExprKind {
  kNumber,   // text: the digits as written
  kText,     // text: the value
  kDate,     // text: the value as "YYYY-MM-DD HH:MM:SS"
  kBoolean,  // truth: True, Yes, On (or False, No, Off)
  kNull,
  kName,         // name: a column, an alias of the select list or a parameter
  kUnary,        // op; operands: the one operand
  kBinary,       // op; operands: left, right (And, Or: two or more, in order)
  kLike,         // operands: value, pattern; negated
  kBetween,      // operands: value, low, high; negated
  kInList,       // operands: value, then the list; negated
  kInQuery,      // operands: value; query; negated
  kIsNull,       // operands: value; negated
  kExists,       // query
  kScalarQuery,  // query: one column
  kCall,         // text: the function as written; operands: arguments; star for Count(*)
};

// A name as written: [Orders].[OrderID], Orders.OrderID or [Forms]![Orders]![OrderID].
struct NamePath {
  std::vector<std::string> parts;
  std::string separators;  // one '.' or '!' between each two parts

  // The parts joined by their separators, without brackets: "Forms!Orders!OrderID".
  std::string Text() const;
};

// How SQLite will compare a text expression, which decides whether a comparison needs an
// explicit COLLATE NOCASE (SQLite takes an explicit collation first, then a column's).
enum class Collation {
  kNone,            // an expression: SQLite compares it byte for byte
  kColumnNocase,    // a column declared (or a query column emitted) COLLATE NOCASE
  kColumnOther,     // a column with another collation
  kExplicitNocase,  // carries COLLATE NOCASE itself
};

struct ExprType {
  SqlType type = SqlType::kVariant;
  bool nullable = true;
  Collation collation = Collation::kNone;
};

// A column of a query's result, as a source of another query sees it.
struct OutputColumn {
  std::string name;
  SqlType type = SqlType::kVariant;
  bool nocase = false;  // compares without regard to case by itself
};

// A table, saved query or subquery of a FROM clause, as bound.
struct BoundSource {
  enum class Kind { kTable, kSavedQuery, kSubquery };
  Kind kind = Kind::kTable;
  std::string name;      // what column references qualify it by: its alias, else its name
  std::string sql_name;  // the table or saved query as the database spells it
  std::string alias;     // as written; empty when it has none
  std::vector<OutputColumn> columns;
  bool has_rowid = false;                // a table whose rows SQLite numbers
  std::vector<std::string> primary_key;  // else the columns that tell its rows apart
  bool has_selected_column = false;      // a column of it reaches the select list

  // The name its columns are qualified by in SQLite.
  const std::string& Qualifier() const { return alias.empty() ? sql_name : alias; }
};

enum class BuiltIn {
  kNone,
  kIIf,
  kNz,
  kIsNull,  // written inline: lazy, or typed by their arguments
  kCount,
  kSum,
  kAvg,
  kMin,
  kMax,  // SQLite's own aggregates, typed as Access types them
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  ExprKind kind = ExprKind::kNull;
  Op op = Op::kAdd;
  std::string text;
  NamePath name;
  bool truth = false;
  bool negated = false;
  bool star = false;
  std::vector<ExprPtr> operands;
  std::unique_ptr<Query> query;
  std::size_t offset = 0;  // where it starts in the Access text

  // Bound.
  ExprType type;
  enum class Binding { kNone, kColumn, kParameter, kAlias };
  Binding binding = Binding::kNone;
  const BoundSource* source = nullptr;       // kColumn
  std::size_t column = 0;                    // kColumn: the index in source->columns
  std::string parameter;                     // kParameter: its name
  const Expr* alias = nullptr;               // kAlias: the aliased expression of the select list
  BuiltIn built_in = BuiltIn::kNone;         // kCall
  const AccessFunction* function = nullptr;  // kCall of a registered function
  bool aggregate = false;                    // kCall of an aggregate function
};

enum class JoinType { kInner, kLeft, kRight };

struct FromItem {
  enum class Kind { kNamed, kQuery, kJoin };
  Kind kind = Kind::kNamed;
  std::string name;   // kNamed: the table or saved query as written
  std::string alias;  // kNamed, kQuery
  std::unique_ptr<Query> query;
  JoinType join = JoinType::kInner;
  std::unique_ptr<FromItem> left, right;
  ExprPtr on;
  bool parenthesized = false;  // kJoin written in parentheses, as Access nests its joins
  std::size_t offset = 0;

  BoundSource* bound = nullptr;  // kNamed, kQuery
};

struct SelectItem {
  ExprPtr expr;       // null for a star
  std::string alias;  // empty when not given
  bool star = false;
  std::string star_source;  // Table.*: the source; empty for *
};

struct OrderItem {
  ExprPtr expr;
  bool descending = false;
  std::size_t output = 0;  // bound, in a union: the index of the output column it names
};

enum class Distinct { kAll, kDistinct, kDistinctRow };

struct Top {
  long long count = 0;
  bool percent = false;
};

// One item of a bound select list, stars expanded.
struct BoundItem {
  const Expr* expr = nullptr;
  std::string name;
  ExprType type;
};

struct Select {
  Distinct distinct = Distinct::kAll;
  std::optional<Top> top;
  std::vector<SelectItem> items;
  std::vector<std::unique_ptr<FromItem>> from;
  ExprPtr where;
  std::vector<ExprPtr> group_by;
  ExprPtr having;
  std::vector<OrderItem> order_by;

  // Bound.
  std::vector<std::unique_ptr<BoundSource>> sources;
  std::vector<ExprPtr> expanded;  // the column references a star stands for
  std::vector<BoundItem> outputs;
  bool aggregate = false;
  // DISTINCTROW that Access does not ignore: rows unique by the row ids of these sources.
  std::vector<const BoundSource*> distinct_row_sources;
};

// A select, or selects joined by UNION [ALL] with an ORDER BY for the whole.
struct Query {
  std::vector<std::unique_ptr<Select>> parts;
  std::vector<bool> union_all;      // between parts[i] and parts[i + 1]
  std::vector<OrderItem> order_by;  // a union's; a single select keeps its own

  std::vector<OutputColumn> columns;  // bound
};

// A column heading of a crosstab: the name of its column and the pivot's value (SQLite SQL).
struct Heading {
  std::string name;
  std::string value;  // "NULL" for the heading of rows whose pivot is Null
};

struct Crosstab {
  ExprPtr value;  // TRANSFORM's aggregate expression
  std::unique_ptr<Select> select;
  ExprPtr pivot;
  std::vector<ExprPtr> headings;  // PIVOT ... IN (...): fixed; empty: read from the data

  // Bound: the headings (fixed, or read when the query is prepared) and every column.
  std::vector<Heading> resolved;
  std::vector<OutputColumn> columns;
};

struct Insert {
  std::string table;
  std::vector<std::string> columns;  // empty: every column in order
  std::unique_ptr<Query> query;      // INSERT ... SELECT
  std::vector<ExprPtr> values;       // INSERT ... VALUES

  std::vector<std::string> sql_columns;  // bound: as the table spells them
  std::string sql_table;
};

struct ParameterDecl {
  std::string name;
  SqlType type = SqlType::kVariant;
};

struct Statement {
  std::vector<ParameterDecl> parameters;
  std::unique_ptr<Query> query;
  std::unique_ptr<Crosstab> crosstab;
  std::unique_ptr<Insert> insert;
};

}  // namespace quellor::tagdll::sql
