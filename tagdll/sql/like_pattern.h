// Access's Like: * any run of characters, ? one character, # one digit, [list] one of the
// listed characters or ranges (a-z), [!list] one character not listed, [] nothing; any other
// character, and the special ones inside brackets, match themselves. Letters match without
// regard to case, as Access compares text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quellor::tagdll::sql {

class LikePattern final {
 public:
  // nullopt for a pattern Access refuses: an unclosed "[" or a range that runs backwards.
  static std::optional<LikePattern> Compile(std::u32string_view pattern);

  // At worst the text's length times the pattern's: only the last "*" is ever retried.
  bool Matches(std::u32string_view text) const;

 private:
  struct Range {
    char32_t first;
    char32_t last;
  };
  struct Element {
    enum class Kind { kStar, kAny, kDigit, kLiteral, kSet };
    explicit Element(Kind kind, char32_t literal = 0) : kind(kind), literal(literal) {}
    Kind kind;
    char32_t literal = 0;       // kLiteral, lower-cased
    std::vector<Range> ranges;  // kSet, lower-cased
    bool negated = false;       // kSet
  };

  // Parses "[...]" at pattern[pos] (just after the "["); false when it does not close.
  static bool CompileSet(std::u32string_view pattern, std::size_t& pos,
                         std::vector<Element>& elements);
  static bool MatchesOne(const Element& element, char32_t character);

  std::vector<Element> elements_;
};

}  // namespace quellor::tagdll::sql
