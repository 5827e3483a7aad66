// The binder behind BindStatement (binder.h): queries and their sources in bind_query.cpp,
// names, calls and expressions in bind_expression.cpp.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/status.h"
#include "tagdll/sql/binder.h"

namespace quellor::tagdll::sql {

enum class Clause { kSelectList, kOn, kWhere, kGroupBy, kHaving, kOrderBy, kValues };

// A select item's binding, which an alias naming it may start early: an alias met while its
// own item is being bound names itself.
enum class ItemState : char { kUnbound, kBinding, kBound };

// Where an expression stands: the select whose sources and aliases it sees, the clause, and
// the enclosing query's scope for a subquery.
struct Scope {
  Select* select = nullptr;
  const Scope* outer = nullptr;
  Clause clause = Clause::kSelectList;
  std::vector<ItemState>* item_state = nullptr;  // one per select item; null: no aliases
  bool in_aggregate = false;
  // When set, the only sources of the select in sight: the two sides of a join, for its ON.
  const std::vector<const BoundSource*>* joined = nullptr;
};

class Binder final {
 public:
  Binder(SourceResolver& resolver, const BindOptions& options,
         const std::vector<ParameterDecl>& declared)
      : resolver_(resolver), options_(options), declared_(declared) {}

  Status BindQuery(Query& query, const Scope* outer);
  Status BindCrosstab(Crosstab& crosstab);
  Status BindInsert(Insert& insert);
  Status BindExpr(Expr& expr, const Scope& scope);

  // The declared parameters, then the others in order of first use.
  std::vector<ParameterDecl> Parameters() const;

 private:
  struct ImplicitParameter {
    std::string name;
    std::size_t offset;
  };

  // bind_query.cpp
  Status BindSelect(Select& select, const Scope* outer, Scope* kept_scope = nullptr);
  Status BindFrom(FromItem& item, Select& select, const Scope* outer);
  Status BindJoinConditions(FromItem& item, Scope scope);
  Status BindItems(Select& select, Scope& scope);
  Status CheckGrouping(const Select& select);
  Status NameOutputs(Select& select);
  Status DecideDistinctRow(Select& select);
  Status BindUnionOrder(Query& query);
  Status MapOrderToOutputs(Select& select);

  // bind_expression.cpp
  Status BindName(Expr& expr, const Scope& scope);
  bool BindColumn(Expr& expr, const Scope& scope, Status& error);
  Status BindAlias(Expr& expr, const Scope& scope, std::size_t item);
  Status BindParameter(Expr& expr);
  Status BindCall(Expr& expr, const Scope& scope);
  Status TypeBuiltIn(Expr& expr);
  Status BindSubquery(Expr& expr, const Scope& scope);

  SourceResolver& resolver_;
  BindOptions options_;
  const std::vector<ParameterDecl>& declared_;
  std::vector<ImplicitParameter> implicit_;
};

}  // namespace quellor::tagdll::sql
