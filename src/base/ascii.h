// Case and white space as the C locale knows them: ASCII only, whatever the host's locale.
// Names of tags, access names, sections and keys compare through these.
#pragma once

#include <string>
#include <string_view>

namespace quellor {

// Space, TAB, LF, VT, FF, CR.
constexpr bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
constexpr char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
constexpr char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
// Every byte below 0x80: the text reads the same in UTF-8 and in Windows-1252.
constexpr bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);

// Negative, zero or positive as _stricmp orders: byte order of the lower-cased bytes.
int CompareIgnoreCase(std::string_view a, std::string_view b);
inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  // Names that match mostly match byte for byte: case is folded only when they do not.
  return a.size() == b.size() && (a == b || CompareIgnoreCase(a, b) == 0);
}

// Inline: the readers trim every line and value they take.
constexpr std::string_view TrimLeftAscii(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  return text.substr(i);
}
constexpr std::string_view TrimRightAscii(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && IsAsciiSpace(text[n - 1])) --n;
  return text.substr(0, n);
}
constexpr std::string_view TrimAscii(std::string_view text) {
  return TrimRightAscii(TrimLeftAscii(text));
}

// Hash and equality for unordered containers keyed without regard to ASCII case.
struct CaseInsensitiveHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const;
};
struct CaseInsensitiveEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return EqualsIgnoreCase(a, b); }
};

}  // namespace quellor
