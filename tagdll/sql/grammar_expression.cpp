#include "base/ascii.h"
#include "tagdll/sql/date_literal.h"
#include "tagdll/sql/grammar.h"

namespace quellor::tagdll::sql {
namespace {

// Deep enough for any real query, shallow enough for SQLite's parser, which refuses the
// translation of a much deeper one.
constexpr int kMaxDepth = 32;

ExprPtr MakeExpr(ExprKind kind, std::size_t offset) {
  auto expr = std::make_unique<Expr>();
  expr->kind = kind;
  expr->offset = offset;
  return expr;
}

struct ComparisonSymbol {
  std::string_view symbol;
  Op op;
};
constexpr ComparisonSymbol kComparisons[] = {
    {"=", Op::kEqual},      {"<>", Op::kNotEqual}, {"<", Op::kLess},
    {"<=", Op::kLessEqual}, {">", Op::kGreater},   {">=", Op::kGreaterEqual},
};

}  // namespace

bool Grammar::Depth::Add() {
  ++taken_;
  if (++grammar_.depth_ <= kMaxDepth) return true;
  return grammar_.in_.Refuse("nesting deeper than " + std::to_string(kMaxDepth) + " levels");
}

ExprPtr Grammar::Binary(Op op, ExprPtr left, ExprPtr right) {
  if (left == nullptr || right == nullptr) return nullptr;
  ExprPtr expr = MakeExpr(ExprKind::kBinary, left->offset);
  expr->op = op;
  expr->operands.push_back(std::move(left));
  expr->operands.push_back(std::move(right));
  return expr;
}

ExprPtr Grammar::ParseExpression() {
  Depth depth(*this);
  if (!depth.Add()) return nullptr;
  ExprPtr left = ParseOr();
  while (left != nullptr && in_.AcceptWord("Xor")) {
    if (!depth.Add()) return nullptr;
    left = Binary(Op::kXor, std::move(left), ParseOr());
  }
  if (left != nullptr && (in_.Peek().IsWord("Eqv") || in_.Peek().IsWord("Imp"))) {
    in_.Refuse("the operator " + in_.Peek().text);
    return nullptr;
  }
  return left;
}

ExprPtr Grammar::ParseOr() { return ParseLogical(Op::kOr, "Or"); }

ExprPtr Grammar::ParseAnd() { return ParseLogical(Op::kAnd, "And"); }

// And and Or chains become one node of many operands: a long list of criteria, as Access
// allows them, is as deep as one.
ExprPtr Grammar::ParseLogical(Op op, std::string_view word) {
  ExprPtr first = op == Op::kOr ? ParseAnd() : ParseNot();
  if (first == nullptr || !in_.Peek().IsWord(word)) return first;
  ExprPtr chain = MakeExpr(ExprKind::kBinary, first->offset);
  chain->op = op;
  chain->operands.push_back(std::move(first));
  while (in_.AcceptWord(word)) {
    chain->operands.push_back(op == Op::kOr ? ParseAnd() : ParseNot());
    if (chain->operands.back() == nullptr) return nullptr;
  }
  return chain;
}

ExprPtr Grammar::ParseNot() {
  if (!in_.Peek().IsWord("Not")) return ParseComparison();
  const std::size_t offset = Offset();
  in_.Take();
  Depth depth(*this);
  if (!depth.Add()) return nullptr;
  ExprPtr operand = ParseNot();
  if (operand == nullptr) return nullptr;
  ExprPtr expr = MakeExpr(ExprKind::kUnary, offset);
  expr->op = Op::kNot;
  expr->operands.push_back(std::move(operand));
  return expr;
}

ExprPtr Grammar::ParseComparison() {
  Depth depth(*this);
  ExprPtr left = ParseConcat();
  while (left != nullptr) {
    if (!depth.Add()) return nullptr;
    const Token& next = in_.Peek();
    bool compared = false;
    for (const ComparisonSymbol& comparison : kComparisons) {
      if (next.IsSymbol(comparison.symbol)) {
        in_.Take();
        left = Binary(comparison.op, std::move(left), ParseConcat());
        compared = true;
        break;
      }
    }
    if (compared) continue;
    if (in_.AcceptWord("Is")) {
      ExprPtr expr = MakeExpr(ExprKind::kIsNull, left->offset);
      expr->negated = in_.AcceptWord("Not");
      if (!in_.ExpectWord("Null")) return nullptr;
      expr->operands.push_back(std::move(left));
      left = std::move(expr);
      continue;
    }
    const bool negated =
        next.IsWord("Not") &&
        (in_.Peek(1).IsWord("Like") || in_.Peek(1).IsWord("Between") || in_.Peek(1).IsWord("In"));
    if (negated) in_.Take();
    if (in_.AcceptWord("Like")) {
      ExprPtr expr = MakeExpr(ExprKind::kLike, left->offset);
      expr->negated = negated;
      expr->operands.push_back(std::move(left));
      expr->operands.push_back(ParseConcat());
      if (expr->operands.back() == nullptr) return nullptr;
      left = std::move(expr);
    } else if (in_.AcceptWord("Between")) {
      ExprPtr expr = MakeExpr(ExprKind::kBetween, left->offset);
      expr->negated = negated;
      expr->operands.push_back(std::move(left));
      expr->operands.push_back(ParseConcat());
      if (expr->operands.back() == nullptr || !in_.ExpectWord("And")) return nullptr;
      expr->operands.push_back(ParseConcat());
      if (expr->operands.back() == nullptr) return nullptr;
      left = std::move(expr);
    } else if (in_.AcceptWord("In")) {
      left = ParseInTail(std::move(left), negated);
    } else {
      break;
    }
  }
  return left;
}

ExprPtr Grammar::ParseInTail(ExprPtr value, bool negated) {
  if (!in_.ExpectSymbol("(")) return nullptr;
  ExprPtr expr;
  if (in_.Peek().IsWord("Select")) {
    expr = MakeExpr(ExprKind::kInQuery, value->offset);
    expr->query = ParseQuery();
    if (expr->query == nullptr) return nullptr;
  } else {
    expr = MakeExpr(ExprKind::kInList, value->offset);
    do {
      expr->operands.push_back(ParseExpression());
      if (expr->operands.back() == nullptr) return nullptr;
    } while (in_.AcceptSymbol(","));
    expr->operands.insert(expr->operands.begin(), std::move(value));
  }
  if (expr->kind == ExprKind::kInQuery) expr->operands.push_back(std::move(value));
  expr->negated = negated;
  return in_.ExpectSymbol(")") ? std::move(expr) : nullptr;
}

ExprPtr Grammar::ParseConcat() {
  Depth depth(*this);
  ExprPtr left = ParseAdditive();
  while (left != nullptr && in_.AcceptSymbol("&")) {
    if (!depth.Add()) return nullptr;
    left = Binary(Op::kConcat, std::move(left), ParseAdditive());
  }
  return left;
}

ExprPtr Grammar::ParseAdditive() {
  Depth depth(*this);
  ExprPtr left = ParseMod();
  while (left != nullptr && depth.Add()) {
    if (in_.AcceptSymbol("+")) {
      left = Binary(Op::kAdd, std::move(left), ParseMod());
    } else if (in_.AcceptSymbol("-")) {
      left = Binary(Op::kSubtract, std::move(left), ParseMod());
    } else {
      break;
    }
  }
  return left;
}

ExprPtr Grammar::ParseMod() {
  Depth depth(*this);
  ExprPtr left = ParseIntDivide();
  while (left != nullptr && in_.AcceptWord("Mod")) {
    if (!depth.Add()) return nullptr;
    left = Binary(Op::kMod, std::move(left), ParseIntDivide());
  }
  return left;
}

ExprPtr Grammar::ParseIntDivide() {
  Depth depth(*this);
  ExprPtr left = ParseMultiplicative();
  while (left != nullptr && in_.AcceptSymbol("\\")) {
    if (!depth.Add()) return nullptr;
    left = Binary(Op::kIntDivide, std::move(left), ParseMultiplicative());
  }
  return left;
}

ExprPtr Grammar::ParseMultiplicative() {
  Depth depth(*this);
  ExprPtr left = ParseUnary();
  while (left != nullptr && depth.Add()) {
    if (in_.AcceptSymbol("*")) {
      left = Binary(Op::kMultiply, std::move(left), ParseUnary());
    } else if (in_.AcceptSymbol("/")) {
      left = Binary(Op::kDivide, std::move(left), ParseUnary());
    } else {
      break;
    }
  }
  return left;
}

ExprPtr Grammar::ParseUnary() {
  const std::size_t offset = Offset();
  const bool minus = in_.Peek().IsSymbol("-");
  if (!minus && !in_.Peek().IsSymbol("+")) return ParsePower();
  in_.Take();
  Depth depth(*this);
  if (!depth.Add()) return nullptr;
  ExprPtr operand = ParseUnary();
  if (operand == nullptr || !minus) return operand;
  ExprPtr expr = MakeExpr(ExprKind::kUnary, offset);
  expr->op = Op::kNegate;
  expr->operands.push_back(std::move(operand));
  return expr;
}

ExprPtr Grammar::ParsePower() {
  Depth depth(*this);
  ExprPtr left = ParsePrimary();
  while (left != nullptr && in_.AcceptSymbol("^")) {
    if (!depth.Add()) return nullptr;
    // The exponent may carry its own sign: 2 ^ -1.
    left = Binary(
        Op::kPower, std::move(left),
        in_.Peek().IsSymbol("-") || in_.Peek().IsSymbol("+") ? ParseUnary() : ParsePrimary());
  }
  return left;
}

ExprPtr Grammar::ParsePrimary() {
  const Token& token = in_.Peek();
  const std::size_t offset = Offset();
  switch (token.kind) {
    case TokenKind::kNumber: {
      ExprPtr expr = MakeExpr(ExprKind::kNumber, offset);
      expr->text = in_.Take().text;
      return expr;
    }
    case TokenKind::kText: {
      ExprPtr expr = MakeExpr(ExprKind::kText, offset);
      expr->text = in_.Take().text;
      return expr;
    }
    case TokenKind::kDate: {
      std::optional<std::string> iso = IsoFromDateLiteral(token.text);
      if (!iso) {
        in_.Fail("a date the Access way, such as #12/31/1995#");
        return nullptr;
      }
      in_.Take();
      ExprPtr expr = MakeExpr(ExprKind::kDate, offset);
      expr->text = std::move(*iso);
      return expr;
    }
    case TokenKind::kName:
      return ParseNameExpr();
    case TokenKind::kSymbol:
      if (!token.IsSymbol("(")) break;
      in_.Take();
      if (in_.Peek().IsWord("Select")) {
        ExprPtr expr = MakeExpr(ExprKind::kScalarQuery, offset);
        expr->query = ParseQuery();
        if (expr->query == nullptr) return nullptr;
        return in_.ExpectSymbol(")") ? std::move(expr) : nullptr;
      } else {
        ExprPtr inner = ParseExpression();
        return inner != nullptr && in_.ExpectSymbol(")") ? std::move(inner) : nullptr;
      }
    case TokenKind::kWord: {
      for (const std::string_view word : {"True", "Yes", "On", "False", "No", "Off"}) {
        if (!token.IsWord(word)) continue;
        ExprPtr expr = MakeExpr(ExprKind::kBoolean, offset);
        expr->truth = word == "True" || word == "Yes" || word == "On";
        in_.Take();
        return expr;
      }
      if (in_.AcceptWord("Null")) return MakeExpr(ExprKind::kNull, offset);
      if (token.IsWord("Exists")) {
        in_.Take();
        ExprPtr expr = MakeExpr(ExprKind::kExists, offset);
        if (!in_.ExpectSymbol("(")) return nullptr;
        expr->query = ParseQuery();
        return expr->query != nullptr && in_.ExpectSymbol(")") ? std::move(expr) : nullptr;
      }
      // Left and Right are functions as well as joins.
      const bool call = in_.Peek(1).IsSymbol("(");
      if (in_.AtReservedWord() && !(call && (token.IsWord("Left") || token.IsWord("Right")))) {
        break;
      }
      if (call) return ParseCall(in_.Take());
      return ParseNameExpr();
    }
    case TokenKind::kEnd:
      break;
  }
  in_.Fail("an expression");
  return nullptr;
}

ExprPtr Grammar::ParseCall(const Token& name) {
  ExprPtr expr = MakeExpr(ExprKind::kCall, base_ + name.offset);
  expr->text = name.text;
  in_.Take();  // (
  if (in_.AcceptSymbol(")")) return expr;
  if (in_.Peek().IsSymbol("*") && in_.Peek(1).IsSymbol(")")) {
    in_.Take();
    in_.Take();
    expr->star = true;
    return expr;
  }
  if (in_.Peek().IsWord("Distinct") || in_.Peek().IsWord("DistinctRow")) {
    in_.Refuse("DISTINCT inside " + name.text + "()");
    return nullptr;
  }
  do {
    expr->operands.push_back(ParseExpression());
    if (expr->operands.back() == nullptr) return nullptr;
  } while (in_.AcceptSymbol(","));
  return in_.ExpectSymbol(")") ? std::move(expr) : nullptr;
}

bool Grammar::ParseNamePath(NamePath& path) {
  while (true) {
    const Token& part = in_.Peek();
    if (part.kind != TokenKind::kName && part.kind != TokenKind::kWord) return in_.Fail("a name");
    path.parts.push_back(in_.Take().text);
    const Token& next = in_.Peek();
    const bool more =
        (next.IsSymbol(".") || next.IsSymbol("!")) &&
        (in_.Peek(1).kind == TokenKind::kName || in_.Peek(1).kind == TokenKind::kWord);
    if (!more) return true;
    path.separators += in_.Take().text;
  }
}

ExprPtr Grammar::ParseNameExpr() {
  ExprPtr expr = MakeExpr(ExprKind::kName, Offset());
  return ParseNamePath(expr->name) ? std::move(expr) : nullptr;
}

}  // namespace quellor::tagdll::sql
