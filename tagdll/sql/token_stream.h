// The parser's view of the tokens: a cursor, the keywords that end a clause, and the first
// error met, kept so that the grammar's functions can return null and let the caller look.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "tagdll/sql/lexer.h"

namespace quellor::tagdll::sql {

class TokenStream final {
 public:
  explicit TokenStream(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  const Token& Peek(std::size_t ahead = 0) const;
  const Token& Take() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }

  // Takes the token when it is that word (or symbol).
  bool AcceptWord(std::string_view word);
  bool AcceptSymbol(std::string_view symbol);
  // The same, recording a syntax error when it is not there.
  bool ExpectWord(std::string_view word);
  bool ExpectSymbol(std::string_view symbol);

  // Whether the next token is a word the grammar reserves (FROM, JOIN, AND, ...), which a bare
  // name cannot be.
  bool AtReservedWord() const;

  // Records the first error only; returns false so that a caller can return it on.
  bool Fail(const std::string& expected);
  bool Refuse(const std::string& construct);
  bool failed() const { return !status_.ok(); }
  const Status& status() const { return status_; }

 private:
  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  Status status_;
};

}  // namespace quellor::tagdll::sql
