#include "tagdll/sql/like_pattern.h"

#include "tagdll/sql/utf8_text.h"

namespace quellor::tagdll::sql {

std::optional<LikePattern> LikePattern::Compile(std::u32string_view pattern) {
  LikePattern compiled;
  std::vector<Element>& elements = compiled.elements_;
  for (std::size_t pos = 0; pos < pattern.size();) {
    const char32_t c = pattern[pos++];
    if (c == '[') {
      if (!CompileSet(pattern, pos, elements)) return std::nullopt;
    } else if (c == '*') {
      if (elements.empty() || elements.back().kind != Element::Kind::kStar) {
        elements.emplace_back(Element::Kind::kStar);
      }
    } else if (c == '?') {
      elements.emplace_back(Element::Kind::kAny);
    } else if (c == '#') {
      elements.emplace_back(Element::Kind::kDigit);
    } else {
      elements.emplace_back(Element::Kind::kLiteral, ToLowerCharacter(c));
    }
  }
  return compiled;
}

bool LikePattern::CompileSet(std::u32string_view pattern, std::size_t& pos,
                             std::vector<Element>& elements) {
  const std::size_t close = pattern.find(']', pos);
  if (close == std::u32string_view::npos) return false;
  std::u32string_view list = pattern.substr(pos, close - pos);
  pos = close + 1;
  if (list.empty()) return true;  // "[]" matches nothing, taking no character
  Element set(Element::Kind::kSet);
  if (list[0] == '!') {
    set.negated = true;
    list.remove_prefix(1);
  }
  for (std::size_t i = 0; i < list.size(); ++i) {
    // A "-" between two characters makes a range; at either end it is itself.
    if (i + 2 < list.size() && list[i + 1] == '-') {
      if (list[i] > list[i + 2]) return false;
      set.ranges.push_back({list[i], list[i + 2]});
      i += 2;
    } else {
      set.ranges.push_back({list[i], list[i]});
    }
  }
  elements.push_back(std::move(set));
  return true;
}

bool LikePattern::MatchesOne(const Element& element, char32_t character) {
  switch (element.kind) {
    case Element::Kind::kAny:
      return true;
    case Element::Kind::kDigit:
      return character >= '0' && character <= '9';
    case Element::Kind::kLiteral:
      return ToLowerCharacter(character) == element.literal;
    case Element::Kind::kSet: {
      const char32_t lower = ToLowerCharacter(character);
      const char32_t upper = ToUpperCharacter(character);
      bool listed = false;
      for (const Range& range : element.ranges) {
        listed = listed || (lower >= range.first && lower <= range.last) ||
                 (upper >= range.first && upper <= range.last);
      }
      return listed != element.negated;
    }
    case Element::Kind::kStar:
      break;
  }
  return false;
}

bool LikePattern::Matches(std::u32string_view text) const {
  constexpr std::size_t kNoStar = static_cast<std::size_t>(-1);
  std::size_t t = 0;
  std::size_t p = 0;
  std::size_t star = kNoStar;  // the last star seen, and where the text stood after it
  std::size_t resume = 0;
  while (t < text.size()) {
    if (p < elements_.size() && elements_[p].kind == Element::Kind::kStar) {
      star = p++;
      resume = t;
    } else if (p < elements_.size() && MatchesOne(elements_[p], text[t])) {
      ++p;
      ++t;
    } else if (star != kNoStar) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < elements_.size() && elements_[p].kind == Element::Kind::kStar) ++p;
  return p == elements_.size();
}

}  // namespace quellor::tagdll::sql
