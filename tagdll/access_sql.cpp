#include "tagdll/access_sql.h"

#include <algorithm>
#include <cstddef>

#include "base/ascii.h"

namespace quellor::tagdll {
namespace {

bool IsWordStart(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '_' ||
         byte >= 0x80;
}

bool IsWordChar(char c) { return IsWordStart(c) || (c >= '0' && c <= '9') || c == '$'; }

// Walks one text once, writing the adapted text as it goes.
class Adapter final {
 public:
  explicit Adapter(std::string_view sql) : sql_(sql) {}

  Result<AdaptedSql> Run() {
    while (pos_ < sql_.size()) {
      const Status status = Step();
      if (!status.ok()) return status;
    }
    return std::move(out_);
  }

 private:
  Status Step() {
    const char c = sql_[pos_];
    if (c == '"') return DoubleQuotedLiteral();
    if (c == '\'') return CopyQuoted('\'', '\'', "a text literal");
    if (c == '[') return BracketedName('[', ']');
    if (c == '`') return BracketedName('`', '`');
    if (c == '-' && Peek(1) == '-') return CopyLineComment();
    if (c == '/' && Peek(1) == '*') return CopyBlockComment();
    if (IsWordStart(c)) return Word();
    if (c >= '0' && c <= '9') return CopyWhile(IsNumberChar);
    if (c == '?' || c == ':' || c == '@' || c == '$') {
      Emit(std::string_view(&c, 1));
      ++pos_;
      return CopyWhile(IsWordChar);  // a parameter's name is no word to adapt
    }
    Emit(std::string_view(&c, 1));
    ++pos_;
    return Status::Ok();
  }

  static bool IsNumberChar(char c) { return IsWordChar(c) || c == '.'; }

  char Peek(std::size_t ahead) const {
    return pos_ + ahead < sql_.size() ? sql_[pos_ + ahead] : '\0';
  }

  // Appends output text and remembers the last character that is not a blank, which tells
  // whether a name follows a '.'.
  void Emit(std::string_view text) {
    out_.text.append(text);
    for (const char c : text) {
      if (!IsAsciiSpace(c)) last_significant_ = c;
    }
  }

  Status DoubleQuotedLiteral() {
    std::string literal = "'";
    for (++pos_; pos_ < sql_.size(); ++pos_) {
      const char c = sql_[pos_];
      if (c == '"') {
        if (Peek(1) != '"') {
          ++pos_;
          Emit(literal + "'");
          return Status::Ok();
        }
        ++pos_;  // a doubled double quote stands for one
      }
      literal += c;
      if (c == '\'') literal += '\'';
    }
    return Status::InvalidArgument("a double-quoted text literal is not closed");
  }

  // Copies a quoted element as it stands, a doubled closing quote standing for one.
  Status CopyQuoted(char open, char close, std::string_view what) {
    const std::size_t start = pos_;
    for (++pos_; pos_ < sql_.size(); ++pos_) {
      if (sql_[pos_] != close) continue;
      if (open == close && Peek(1) == close) {
        ++pos_;
        continue;
      }
      ++pos_;
      Emit(sql_.substr(start, pos_ - start));
      return Status::Ok();
    }
    return Status::InvalidArgument(std::string(what) + " is not closed");
  }

  Status BracketedName(char open, char close) {
    const bool after_dot = last_significant_ == '.';
    const std::size_t start = pos_;
    const Status status = CopyQuoted(open, close, "a bracketed name");
    if (!status.ok()) return status;
    if (!after_dot) AddName(sql_.substr(start + 1, pos_ - start - 2));
    return Status::Ok();
  }

  Status CopyLineComment() {
    const std::size_t end = std::min(sql_.find('\n', pos_), sql_.size());
    Emit(sql_.substr(pos_, end - pos_));
    pos_ = end;
    return Status::Ok();
  }

  Status CopyBlockComment() {
    const std::size_t close = sql_.find("*/", pos_ + 2);
    if (close == std::string_view::npos) return Status::InvalidArgument("a comment is not closed");
    Emit(sql_.substr(pos_, close + 2 - pos_));
    pos_ = close + 2;
    return Status::Ok();
  }

  Status CopyWhile(bool (*belongs)(char)) {
    const std::size_t start = pos_;
    while (pos_ < sql_.size() && belongs(sql_[pos_])) ++pos_;
    Emit(sql_.substr(start, pos_ - start));
    return Status::Ok();
  }

  Status Word() {
    const bool after_dot = last_significant_ == '.';
    const std::size_t start = pos_;
    while (pos_ < sql_.size() && IsWordChar(sql_[pos_])) ++pos_;
    const std::string_view word = sql_.substr(start, pos_ - start);
    if (!after_dot && EqualsIgnoreCase(word, "True")) {
      Emit("1");
    } else if (!after_dot && EqualsIgnoreCase(word, "False")) {
      Emit("0");
    } else {
      Emit(word);
      if (!after_dot && !FollowedByOpeningParenthesis()) AddName(word);
    }
    return Status::Ok();
  }

  bool FollowedByOpeningParenthesis() const {
    std::size_t next = pos_;
    while (next < sql_.size() && IsAsciiSpace(sql_[next])) ++next;
    return next < sql_.size() && sql_[next] == '(';
  }

  void AddName(std::string_view name) {
    const bool known = std::any_of(out_.names.begin(), out_.names.end(),
                                   [&](const std::string& n) { return EqualsIgnoreCase(n, name); });
    if (!known) out_.names.emplace_back(name);
  }

  const std::string_view sql_;
  std::size_t pos_ = 0;
  char last_significant_ = '\0';
  AdaptedSql out_;
};

}  // namespace

Result<AdaptedSql> AdaptAccessSql(std::string_view sql) { return Adapter(sql).Run(); }

}  // namespace quellor::tagdll
