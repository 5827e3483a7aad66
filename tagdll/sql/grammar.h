// The recursive descent over Access SQL's grammar behind ParseStatement (parser.h): the
// statements and queries in grammar_query.cpp, the expressions in grammar_expression.cpp.
// Each function returns null (or false) after recording the first error in the stream.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "tagdll/sql/token_stream.h"
#include "tagdll/sql/tree.h"

namespace quellor::tagdll::sql {

class Grammar final {
 public:
  // `base_offset` places the tokens in the outer text (a subquery written as a bracketed
  // name is parsed from its own text).
  Grammar(TokenStream& tokens, std::size_t base_offset) : in_(tokens), base_(base_offset) {}

  bool StatementInto(Statement& statement);

  // Queries.
  std::unique_ptr<Query> ParseQuery();
  std::unique_ptr<Select> ParseSelect();
  std::unique_ptr<Select> ParseTableTerm();
  bool SelectItems(Select& select);
  bool FromList(Select& select);
  std::unique_ptr<FromItem> ParseFromItem();
  std::unique_ptr<FromItem> ParseFromPrimary();
  std::unique_ptr<FromItem> ParseBracketedSubquery();
  bool SourceAlias(FromItem& item, bool required);
  bool OrderBy(std::vector<OrderItem>& order_by);
  bool Parameters(Statement& statement);
  std::unique_ptr<Crosstab> ParseCrosstab();
  std::unique_ptr<Insert> ParseInsert();

  // Expressions, loosest first.
  ExprPtr ParseExpression();
  ExprPtr ParseOr();
  ExprPtr ParseAnd();
  ExprPtr ParseLogical(Op op, std::string_view word);
  ExprPtr ParseNot();
  ExprPtr ParseComparison();
  ExprPtr ParseConcat();
  ExprPtr ParseAdditive();
  ExprPtr ParseMod();
  ExprPtr ParseIntDivide();
  ExprPtr ParseMultiplicative();
  ExprPtr ParseUnary();
  ExprPtr ParsePower();
  ExprPtr ParsePrimary();
  ExprPtr ParseCall(const Token& name);
  ExprPtr ParseNameExpr();
  bool ParseNamePath(NamePath& path);
  ExprPtr ParseInTail(ExprPtr value, bool negated);

 private:
  // Bounds the depth of the tree (nested parentheses, queries and operator chains, which
  // build left-deep trees), so that no text can exhaust the stack of the parser or of the
  // passes that walk the tree. A level taken is given back when the guard goes.
  class Depth final {
   public:
    explicit Depth(Grammar& grammar) : grammar_(grammar) {}
    ~Depth() { grammar_.depth_ -= taken_; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
    // One level more; false, with the error recorded, past the limit.
    bool Add();

   private:
    Grammar& grammar_;
    int taken_ = 0;
  };

  std::size_t Offset() const { return base_ + in_.Peek().offset; }
  ExprPtr Binary(Op op, ExprPtr left, ExprPtr right);

  TokenStream& in_;
  std::size_t base_;
  int depth_ = 0;
};

}  // namespace quellor::tagdll::sql
