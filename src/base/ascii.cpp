#include "base/ascii.h"

#include <algorithm>

namespace quellor {

std::string ToUpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ToUpperAscii(c);
  return out;
}

std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ToLowerAscii(c);
  return out;
}

int CompareIgnoreCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(ToLowerAscii(a[i]));
    const auto cb = static_cast<unsigned char>(ToLowerAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string_view TrimLeftAscii(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  return text.substr(i);
}

std::string_view TrimRightAscii(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && IsAsciiSpace(text[n - 1])) --n;
  return text.substr(0, n);
}

std::string_view TrimAscii(std::string_view text) { return TrimRightAscii(TrimLeftAscii(text)); }

std::size_t CaseInsensitiveHash::operator()(std::string_view text) const {
  // FNV-1a over the lower-cased bytes.
  std::size_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(ToLowerAscii(c));
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace quellor
