#include "tagdll/sql/token_stream.h"
#include "base/str_cat.h"
#include "tagdll/sql/refusal.h"

#include "base/ascii.h"

namespace quellor::tagdll::sql {

const Token& TokenStream::Peek(std::size_t ahead) const {
  const std::size_t at = pos_ + ahead;
  return tokens_[at < tokens_.size() ? at : tokens_.size() - 1];
}

bool TokenStream::AcceptWord(std::string_view word) {
  if (!Peek().IsWord(word)) return false;
  Take();
  return true;
}

bool TokenStream::AcceptSymbol(std::string_view symbol) {
  if (!Peek().IsSymbol(symbol)) return false;
  Take();
  return true;
}

bool TokenStream::ExpectWord(std::string_view word) {
  return AcceptWord(word) || Fail(ToUpperAscii(word));
}

bool TokenStream::ExpectSymbol(std::string_view symbol) {
  return AcceptSymbol(symbol) || Fail(StrCat("'", symbol, "'"));
}

bool TokenStream::AtReservedWord() const {
  return Peek().kind == TokenKind::kWord && IsReservedWord(Peek().text);
}

bool TokenStream::Fail(const std::string& expected) {
  if (status_.ok()) {
    status_ = Status::InvalidArgument("syntax error at " + DescribeToken(Peek()) + ": expected " +
                                      expected);
  }
  return false;
}

bool TokenStream::Refuse(const std::string& construct) {
  if (status_.ok()) status_ = NotCarried(construct);
  return false;
}

}  // namespace quellor::tagdll::sql
