// The binder resolves the names of a parsed statement and types it through the schema and
// through the queries it reads from, in place (tree.h's "bound" fields), with Access's rules:
//
//  - a name is a column of the sources in scope (ambiguity is an error), else an alias of the
//    select list, else a column of an enclosing query (a correlated subquery), else a
//    parameter; a bang path ([Forms]![Orders]![OrderID]) is always a parameter;
//  - the parameters are the declared ones in declaration order, then every other one in order
//    of first use in the text;
//  - a query with GROUP BY or an aggregate has every other column grouped or aggregated;
//  - the result columns are named by their alias, else by their column, else Expr1000 and on
//    by position; two columns of one name are named Table.Column.
//
// Fails with kInvalidArgument for what Access refuses too, kUnsupported for what Access has
// and the translation does not carry, each with one line naming the construct.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "tagdll/sql/catalog.h"
#include "tagdll/sql/tree.h"

namespace quellor::tagdll::sql {

// A table or saved query as a source of a FROM clause.
struct NamedSource {
  BoundSource::Kind kind = BoundSource::Kind::kTable;
  std::string sql_name;
  std::vector<OutputColumn> columns;
  bool has_rowid = false;
  std::vector<std::string> primary_key;
};

class SourceResolver {
 public:
  virtual ~SourceResolver() = default;
  // The table or saved query of that name, nullopt when there is none; fails when it is a
  // saved query that cannot be translated.
  virtual Result<std::optional<NamedSource>> Resolve(std::string_view name) = 0;
};

struct BindOptions {
  // A name that resolves to nothing is a parameter; the program's own texts have none.
  bool implicit_parameters = true;
};

// The statement's parameters, in position order.
Result<std::vector<ParameterDecl>> BindStatement(Statement& statement, SourceResolver& resolver,
                                                 const BindOptions& options);

}  // namespace quellor::tagdll::sql
