// The tokens of an Access SQL text. Access SQL has no comments; "--" is two minus signs.
//
//   kWord       a bare word: letters, digits, "_", bytes of UTF-8 letters, a trailing "$"
//               (Left$); keywords are words the parser recognises by their spelling
//   kName       a [bracketed] or `quoted` name, brackets removed; never a keyword
//   kText       a "double-quoted" or 'single-quoted' literal, quotes removed (a doubled
//               quote inside stands for one)
//   kNumber     digits with an optional fraction and exponent (12, 1.22, .5, 1E3)
//   kDate       a #date# literal, the hashes removed
//   kSymbol     an operator or punctuation: = <> < > <= >= + - * / \ ^ & ( ) , . ! ;
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace quellor::tagdll::sql {

enum class TokenKind { kWord, kName, kText, kNumber, kDate, kSymbol, kEnd };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string text;
  std::size_t offset = 0;  // where the token starts in the Access text

  // A word spelled so, without regard to case.
  bool IsWord(std::string_view word) const;
  bool IsSymbol(std::string_view symbol) const {
    return kind == TokenKind::kSymbol && text == symbol;
  }
};

// Every token of the text, ending with one kEnd token. Fails (kInvalidArgument) on a literal
// or name that is not closed, or a character that begins no token.
Result<std::vector<Token>> Tokenize(std::string_view sql);

// A token as an error message shows it: the word or symbol, or "the end of the text".
std::string DescribeToken(const Token& token);

// Whether a word is one the grammar reserves (FROM, JOIN, AND, ...), which a bare name cannot
// be.
bool IsReservedWord(std::string_view word);

}  // namespace quellor::tagdll::sql
