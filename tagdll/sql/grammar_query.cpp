#include <cstdlib>

#include "base/ascii.h"
#include "tagdll/sql/grammar.h"
#include "tagdll/sql/type_rules.h"

namespace quellor::tagdll::sql {
namespace {

// Whether a bracketed name holds a query, as Jet saves a subquery of a FROM clause:
// [SELECT ...]. AS Alias
bool IsBracketedQuery(const Token& token, const Token& next) {
  if (token.kind != TokenKind::kName || !next.IsSymbol(".")) return false;
  const std::string_view text = TrimLeftAscii(token.text);
  return text.size() > 6 && EqualsIgnoreCase(text.substr(0, 6), "SELECT") && IsAsciiSpace(text[6]);
}

}  // namespace

bool Grammar::StatementInto(Statement& statement) {
  if (in_.AcceptWord("Parameters") && !Parameters(statement)) return false;
  const Token& first = in_.Peek();
  if (first.IsWord("Transform")) {
    statement.crosstab = ParseCrosstab();
  } else if (first.IsWord("Insert")) {
    statement.insert = ParseInsert();
  } else if (first.IsWord("Update") || first.IsWord("Delete")) {
    return in_.Refuse("the action query " + ToUpperAscii(first.text));
  } else {
    statement.query = ParseQuery();
  }
  if (in_.failed()) return false;
  if (in_.AcceptWord("With")) {  // WITH OWNERACCESS OPTION: a matter of permissions only
    if (!in_.ExpectWord("OwnerAccess") || !in_.ExpectWord("Option")) return false;
  }
  in_.AcceptSymbol(";");
  if (in_.Peek().kind == TokenKind::kEnd) return true;
  return in_.Fail(in_.Peek().IsWord("Select") ? "one statement only" : "the end of the statement");
}

bool Grammar::Parameters(Statement& statement) {
  do {
    NamePath name;
    if (!ParseNamePath(name)) return false;
    const Token& type_name = in_.Peek();
    const std::optional<SqlType> type =
        type_name.kind == TokenKind::kWord ? SqlTypeFromJetName(type_name.text) : std::nullopt;
    if (!type) return in_.Fail("the type of parameter " + name.Text());
    in_.Take();
    if (in_.AcceptSymbol("(")) {  // Text (255)
      if (in_.Peek().kind != TokenKind::kNumber) return in_.Fail("a size");
      in_.Take();
      if (!in_.ExpectSymbol(")")) return false;
    }
    statement.parameters.push_back(ParameterDecl{name.Text(), *type});
  } while (in_.AcceptSymbol(","));
  return in_.ExpectSymbol(";");
}

std::unique_ptr<Query> Grammar::ParseQuery() {
  Depth depth(*this);
  if (!depth.Add()) return nullptr;
  auto query = std::make_unique<Query>();
  bool last_in_parentheses = false;
  do {
    if (!query->parts.empty()) query->union_all.push_back(in_.AcceptWord("All"));
    last_in_parentheses = in_.AcceptSymbol("(");
    std::unique_ptr<Select> part = in_.Peek().IsWord("Table") ? ParseTableTerm() : ParseSelect();
    if (part == nullptr || (last_in_parentheses && !in_.ExpectSymbol(")"))) return nullptr;
    query->parts.push_back(std::move(part));
  } while (in_.AcceptWord("Union"));
  if (query->parts.size() > 1) {
    // A union's final ORDER BY sorts the whole union.
    if (last_in_parentheses) {
      if (in_.Peek().IsWord("Order") && !OrderBy(query->order_by)) return nullptr;
    } else {
      query->order_by = std::move(query->parts.back()->order_by);
      query->parts.back()->order_by.clear();
    }
  }
  return query;
}

// TABLE Name, a union's shorthand for SELECT * FROM Name.
std::unique_ptr<Select> Grammar::ParseTableTerm() {
  in_.Take();
  auto select = std::make_unique<Select>();
  select->items.push_back(SelectItem{nullptr, "", true, ""});
  std::unique_ptr<FromItem> source = ParseFromPrimary();
  if (source == nullptr) return nullptr;
  select->from.push_back(std::move(source));
  return select;
}

std::unique_ptr<Select> Grammar::ParseSelect() {
  if (!in_.ExpectWord("Select")) return nullptr;
  auto select = std::make_unique<Select>();
  if (in_.AcceptWord("DistinctRow")) {
    select->distinct = Distinct::kDistinctRow;
  } else if (in_.AcceptWord("Distinct")) {
    select->distinct = Distinct::kDistinct;
  } else {
    in_.AcceptWord("All");
  }
  if (in_.AcceptWord("Top")) {
    const Token& count = in_.Peek();
    if (count.kind != TokenKind::kNumber ||
        count.text.find_first_not_of("0123456789") != std::string::npos || count.text.size() > 9) {
      in_.Fail("a whole number of rows after TOP");
      return nullptr;
    }
    select->top = Top{std::atoll(in_.Take().text.c_str()), in_.AcceptWord("Percent")};
  }
  if (!SelectItems(*select)) return nullptr;
  if (in_.Peek().IsWord("Into")) {
    in_.Refuse("a make-table query (SELECT ... INTO)");
    return nullptr;
  }
  if (in_.AcceptWord("From") && !FromList(*select)) return nullptr;
  if (in_.AcceptWord("Where") && (select->where = ParseExpression()) == nullptr) return nullptr;
  if (in_.AcceptWord("Group")) {
    if (!in_.ExpectWord("By")) return nullptr;
    do {
      select->group_by.push_back(ParseExpression());
      if (select->group_by.back() == nullptr) return nullptr;
    } while (in_.AcceptSymbol(","));
  }
  if (in_.AcceptWord("Having") && (select->having = ParseExpression()) == nullptr) return nullptr;
  if (in_.Peek().IsWord("Order") && !OrderBy(select->order_by)) return nullptr;
  return select;
}

bool Grammar::SelectItems(Select& select) {
  do {
    SelectItem item;
    const Token& first = in_.Peek();
    if (in_.AcceptSymbol("*")) {
      item.star = true;
    } else if ((first.kind == TokenKind::kName || first.kind == TokenKind::kWord) &&
               in_.Peek(1).IsSymbol(".") && in_.Peek(2).IsSymbol("*")) {
      item.star = true;
      item.star_source = in_.Take().text;
      in_.Take();
      in_.Take();
    } else {
      item.expr = ParseExpression();
      if (item.expr == nullptr) return false;
      if (in_.AcceptWord("As")) {
        const Token& alias = in_.Peek();
        if (alias.kind != TokenKind::kWord && alias.kind != TokenKind::kName) {
          return in_.Fail("a name after AS");
        }
        item.alias = in_.Take().text;
      }
    }
    select.items.push_back(std::move(item));
  } while (in_.AcceptSymbol(","));
  return true;
}

bool Grammar::FromList(Select& select) {
  do {
    std::unique_ptr<FromItem> item = ParseFromItem();
    if (item == nullptr) return false;
    select.from.push_back(std::move(item));
  } while (in_.AcceptSymbol(","));
  return true;
}

std::unique_ptr<FromItem> Grammar::ParseFromItem() {
  Depth depth(*this);
  if (!depth.Add()) return nullptr;
  std::unique_ptr<FromItem> left = ParseFromPrimary();
  while (left != nullptr) {
    JoinType join;
    if (in_.AcceptWord("Inner")) {
      join = JoinType::kInner;
    } else if (in_.AcceptWord("Left")) {
      join = JoinType::kLeft;
      in_.AcceptWord("Outer");
    } else if (in_.AcceptWord("Right")) {
      join = JoinType::kRight;
      in_.AcceptWord("Outer");
    } else {
      break;
    }
    if (!in_.ExpectWord("Join") || !depth.Add()) return nullptr;
    auto joined = std::make_unique<FromItem>();
    joined->kind = FromItem::Kind::kJoin;
    joined->offset = left->offset;
    joined->join = join;
    joined->left = std::move(left);
    joined->right = ParseFromPrimary();
    if (joined->right == nullptr || !in_.ExpectWord("On")) return nullptr;
    joined->on = ParseExpression();
    if (joined->on == nullptr) return nullptr;
    left = std::move(joined);
  }
  return left;
}

std::unique_ptr<FromItem> Grammar::ParseFromPrimary() {
  auto item = std::make_unique<FromItem>();
  item->offset = Offset();
  const Token& token = in_.Peek();
  if (token.IsSymbol("(")) {
    in_.Take();
    if (in_.Peek().IsWord("Select")) {
      item->kind = FromItem::Kind::kQuery;
      item->query = ParseQuery();
      if (item->query == nullptr || !in_.ExpectSymbol(")")) return nullptr;
      return SourceAlias(*item, true) ? std::move(item) : nullptr;
    }
    std::unique_ptr<FromItem> inner = ParseFromItem();
    if (inner == nullptr || !in_.ExpectSymbol(")")) return nullptr;
    inner->parenthesized = inner->kind == FromItem::Kind::kJoin;
    return inner;
  }
  if (IsBracketedQuery(token, in_.Peek(1))) return ParseBracketedSubquery();
  if (token.kind != TokenKind::kName && (token.kind != TokenKind::kWord || in_.AtReservedWord())) {
    in_.Fail("a table or query");
    return nullptr;
  }
  item->name = in_.Take().text;
  if (in_.Peek().IsWord("In")) {
    in_.Refuse("a source in another database (IN '...')");
    return nullptr;
  }
  return SourceAlias(*item, false) ? std::move(item) : nullptr;
}

std::unique_ptr<FromItem> Grammar::ParseBracketedSubquery() {
  const Token& token = in_.Take();
  in_.Take();  // the '.' that closes Jet's form
  Result<std::vector<Token>> tokens = Tokenize(token.text);
  if (!tokens.ok()) {
    in_.Fail("a subquery that reads: " + tokens.status().message());
    return nullptr;
  }
  TokenStream inner_tokens(std::move(tokens).value());
  Grammar inner(inner_tokens, base_ + token.offset + 1);
  inner.depth_ = depth_;
  auto item = std::make_unique<FromItem>();
  item->kind = FromItem::Kind::kQuery;
  item->offset = base_ + token.offset;
  item->query = inner.ParseQuery();
  if (item->query == nullptr || inner_tokens.Peek().kind != TokenKind::kEnd) {
    if (!inner_tokens.failed()) inner_tokens.Fail("the end of the subquery");
    if (!in_.failed()) in_.Fail("a subquery that reads: " + inner_tokens.status().message());
    return nullptr;
  }
  return SourceAlias(*item, true) ? std::move(item) : nullptr;
}

bool Grammar::SourceAlias(FromItem& item, bool required) {
  const bool as = in_.AcceptWord("As");
  const Token& alias = in_.Peek();
  if (alias.kind == TokenKind::kName || (alias.kind == TokenKind::kWord && !in_.AtReservedWord())) {
    item.alias = in_.Take().text;
    return true;
  }
  if (as || required) return in_.Fail("a name for the source");
  return true;
}

bool Grammar::OrderBy(std::vector<OrderItem>& order_by) {
  in_.Take();
  if (!in_.ExpectWord("By")) return false;
  do {
    OrderItem item;
    item.expr = ParseExpression();
    if (item.expr == nullptr) return false;
    if (in_.AcceptWord("Desc") || in_.AcceptWord("Descending")) {
      item.descending = true;
    } else if (!in_.AcceptWord("Asc")) {
      in_.AcceptWord("Ascending");
    }
    order_by.push_back(std::move(item));
  } while (in_.AcceptSymbol(","));
  return true;
}

std::unique_ptr<Crosstab> Grammar::ParseCrosstab() {
  in_.Take();
  auto crosstab = std::make_unique<Crosstab>();
  crosstab->value = ParseExpression();
  if (crosstab->value == nullptr) return nullptr;
  if (in_.AcceptWord("As")) {  // the value's name: the pivot's headings name its columns
    const Token& alias = in_.Peek();
    if (alias.kind != TokenKind::kWord && alias.kind != TokenKind::kName) {
      in_.Fail("a name after AS");
      return nullptr;
    }
    in_.Take();
  }
  crosstab->select = ParseSelect();
  if (crosstab->select == nullptr || !in_.ExpectWord("Pivot")) return nullptr;
  crosstab->pivot = ParseExpression();
  if (crosstab->pivot == nullptr) return nullptr;
  // PIVOT p IN (a, b) names the headings; it reads as the predicate "p IN (a, b)".
  if (crosstab->pivot->kind == ExprKind::kInList && !crosstab->pivot->negated) {
    ExprPtr in_list = std::move(crosstab->pivot);
    crosstab->pivot = std::move(in_list->operands.front());
    for (std::size_t i = 1; i < in_list->operands.size(); ++i) {
      crosstab->headings.push_back(std::move(in_list->operands[i]));
    }
  }
  return crosstab;
}

std::unique_ptr<Insert> Grammar::ParseInsert() {
  in_.Take();
  if (!in_.ExpectWord("Into")) return nullptr;
  auto insert = std::make_unique<Insert>();
  const Token& table = in_.Peek();
  if (table.kind != TokenKind::kName && table.kind != TokenKind::kWord) {
    in_.Fail("a table");
    return nullptr;
  }
  insert->table = in_.Take().text;
  if (in_.Peek().IsWord("In")) {
    in_.Refuse("a table in another database (IN '...')");
    return nullptr;
  }
  if (in_.Peek().IsSymbol("(") && !in_.Peek(1).IsWord("Select")) {
    in_.Take();
    do {
      const Token& column = in_.Peek();
      if (column.kind != TokenKind::kName && column.kind != TokenKind::kWord) {
        in_.Fail("a column");
        return nullptr;
      }
      insert->columns.push_back(in_.Take().text);
    } while (in_.AcceptSymbol(","));
    if (!in_.ExpectSymbol(")")) return nullptr;
  }
  if (in_.AcceptWord("Values")) {
    if (!in_.ExpectSymbol("(")) return nullptr;
    do {
      insert->values.push_back(ParseExpression());
      if (insert->values.back() == nullptr) return nullptr;
    } while (in_.AcceptSymbol(","));
    return in_.ExpectSymbol(")") ? std::move(insert) : nullptr;
  }
  insert->query = ParseQuery();
  return insert->query != nullptr ? std::move(insert) : nullptr;
}

}  // namespace quellor::tagdll::sql
