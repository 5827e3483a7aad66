#include "tagdll/sql/parser.h"

#include "tagdll/sql/grammar.h"

namespace quellor::tagdll::sql {

std::string NamePath::Text() const {
  std::string text = parts.empty() ? std::string() : parts.front();
  for (std::size_t i = 1; i < parts.size(); ++i) {
    text += separators[i - 1];
    text += parts[i];
  }
  return text;
}

Result<Statement> ParseStatement(std::string_view access_sql) {
  Result<std::vector<Token>> tokens = Tokenize(access_sql);
  if (!tokens.ok()) return tokens.status();
  TokenStream stream(std::move(tokens).value());
  Statement statement;
  Grammar grammar(stream, 0);
  if (!grammar.StatementInto(statement) || stream.failed()) return stream.status();
  return statement;
}

}  // namespace quellor::tagdll::sql
