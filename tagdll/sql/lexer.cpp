#include "tagdll/sql/lexer.h"

#include "base/ascii.h"

namespace quellor::tagdll::sql {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsWordStart(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '_' ||
         byte >= 0x80;
}

bool IsWordChar(char c) { return IsWordStart(c) || IsDigit(c); }

class Lexer final {
 public:
  explicit Lexer(std::string_view sql) : sql_(sql) {}

  Result<std::vector<Token>> Run() {
    while (true) {
      while (pos_ < sql_.size() && IsAsciiSpace(sql_[pos_])) ++pos_;
      if (pos_ == sql_.size()) break;
      const Status status = Next();
      if (!status.ok()) return status;
    }
    tokens_.push_back(Token{TokenKind::kEnd, "", sql_.size()});
    return std::move(tokens_);
  }

 private:
  Status Next() {
    const char c = sql_[pos_];
    if (c == '"' || c == '\'') return Quoted(TokenKind::kText, c, c, "a text literal");
    if (c == '[') return Quoted(TokenKind::kName, '[', ']', "a bracketed name");
    if (c == '`') return Quoted(TokenKind::kName, '`', '`', "a quoted name");
    if (c == '#') return Quoted(TokenKind::kDate, '#', '#', "a date literal");
    if (IsWordStart(c)) return Word();
    if (IsDigit(c) || (c == '.' && IsDigit(Peek(1)) && !FollowsOperand())) return Number();
    return Symbol();
  }

  char Peek(std::size_t ahead) const {
    return pos_ + ahead < sql_.size() ? sql_[pos_ + ahead] : '\0';
  }

  // Whether the last token can be followed by ".name" (so ".5" there is no number).
  bool FollowsOperand() const {
    if (tokens_.empty()) return false;
    const Token& last = tokens_.back();
    return (last.kind == TokenKind::kWord && !IsReservedWord(last.text)) ||
           last.kind == TokenKind::kName || last.IsSymbol(")");
  }

  void Add(TokenKind kind, std::string text, std::size_t start) {
    tokens_.push_back(Token{kind, std::move(text), start});
  }

  // A doubled closing quote stands for one, except in names and dates.
  Status Quoted(TokenKind kind, char open, char close, std::string_view what) {
    const std::size_t start = pos_;
    const bool doubling = kind == TokenKind::kText || (open == '`');
    std::string text;
    for (++pos_; pos_ < sql_.size(); ++pos_) {
      const char c = sql_[pos_];
      if (c == close) {
        if (doubling && Peek(1) == close) {
          text += c;
          ++pos_;
          continue;
        }
        ++pos_;
        Add(kind, std::move(text), start);
        return Status::Ok();
      }
      text += c;
    }
    return Status::InvalidArgument(std::string(what) + " is not closed");
  }

  Status Word() {
    const std::size_t start = pos_;
    while (pos_ < sql_.size() && IsWordChar(sql_[pos_])) ++pos_;
    if (pos_ < sql_.size() && sql_[pos_] == '$') ++pos_;
    Add(TokenKind::kWord, std::string(sql_.substr(start, pos_ - start)), start);
    return Status::Ok();
  }

  Status Number() {
    const std::size_t start = pos_;
    while (pos_ < sql_.size() && IsDigit(sql_[pos_])) ++pos_;
    if (Peek(0) == '.') {
      ++pos_;
      while (pos_ < sql_.size() && IsDigit(sql_[pos_])) ++pos_;
    }
    if ((Peek(0) == 'e' || Peek(0) == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
      pos_ += 2;
      while (pos_ < sql_.size() && IsDigit(sql_[pos_])) ++pos_;
    }
    if (pos_ < sql_.size() && IsWordStart(sql_[pos_])) {
      return Status::InvalidArgument("a number runs into a word at \"" +
                                     std::string(sql_.substr(start, pos_ - start + 1)) + "\"");
    }
    Add(TokenKind::kNumber, std::string(sql_.substr(start, pos_ - start)), start);
    return Status::Ok();
  }

  Status Symbol() {
    const std::size_t start = pos_;
    const std::string_view two = sql_.substr(pos_, 2);
    if (two == "<>" || two == "<=" || two == ">=") {
      pos_ += 2;
      Add(TokenKind::kSymbol, std::string(two), start);
      return Status::Ok();
    }
    static constexpr std::string_view kSingles = "=<>+-*/\\^&(),.!;";
    const char c = sql_[pos_];
    if (kSingles.find(c) == std::string_view::npos) {
      return Status::InvalidArgument("the character '" + std::string(1, c) +
                                     "' begins no element of Access SQL");
    }
    ++pos_;
    Add(TokenKind::kSymbol, std::string(1, c), start);
    return Status::Ok();
  }

  const std::string_view sql_;
  std::size_t pos_ = 0;
  std::vector<Token> tokens_;
};

}  // namespace

bool IsReservedWord(std::string_view word) {
  static constexpr std::string_view kReserved[] = {
      "ALL",       "AND",         "AS",      "ASC",    "BETWEEN", "BY",     "DESC",
      "DISTINCT",  "DISTINCTROW", "EQV",     "EXISTS", "FROM",    "GROUP",  "HAVING",
      "IMP",       "IN",          "INNER",   "INSERT", "INTO",    "IS",     "JOIN",
      "LEFT",      "LIKE",        "MOD",     "NOT",    "ON",      "OR",     "ORDER",
      "OUTER",     "PARAMETERS",  "PERCENT", "PIVOT",  "RIGHT",   "SELECT", "TOP",
      "TRANSFORM", "UNION",       "VALUES",  "WHERE",  "WITH",    "XOR",
  };
  for (const std::string_view reserved : kReserved) {
    if (EqualsIgnoreCase(word, reserved)) return true;
  }
  return false;
}

bool Token::IsWord(std::string_view word) const {
  return kind == TokenKind::kWord && EqualsIgnoreCase(text, word);
}

Result<std::vector<Token>> Tokenize(std::string_view sql) {
  // SQLite would end the translated text at the first NUL.
  if (sql.find('\0') != std::string_view::npos) {
    return Status::InvalidArgument("the text holds a NUL character");
  }
  return Lexer(sql).Run();
}

std::string DescribeToken(const Token& token) {
  switch (token.kind) {
    case TokenKind::kEnd:
      return "the end of the text";
    case TokenKind::kName:
      return "[" + token.text + "]";
    case TokenKind::kText:
      return "\"" + token.text + "\"";
    case TokenKind::kDate:
      return "#" + token.text + "#";
    default:
      return "'" + token.text + "'";
  }
}

}  // namespace quellor::tagdll::sql
