#include "base/ascii.h"

#include <algorithm>
#include <cstdint>

#include "base/le_codec.h"

namespace quellor {
namespace {

constexpr std::uint64_t kEachByte = 0x0101010101010101ull;
constexpr std::uint64_t kHashSeed = 0x9E3779B97F4A7C15ull;

// The eight bytes of `word` with every ASCII capital lower-cased, all at once: a byte's high
// bit marks it from 'A' up and, separately, from '[' up; the bytes between are capitals unless
// the byte is not ASCII, and each gets 0x20 added.
constexpr std::uint64_t LowerAscii8(std::uint64_t word) {
  const std::uint64_t low7 = word & (0x7F * kEachByte);
  const std::uint64_t from_a = low7 + (0x3F * kEachByte);
  const std::uint64_t from_bracket = low7 + (0x25 * kEachByte);
  const std::uint64_t capital = (from_a ^ from_bracket) & ~word & (0x80 * kEachByte);
  return word | (capital >> 2);
}
static_assert(LowerAscii8(0x5B5A4140C17A615Full) == 0x5B7A6140C17A615Full);

// A multiply and a shift: every bit of the word reaches the bits a bucket is chosen by.
constexpr std::uint64_t MixHash(std::uint64_t x) {
  x *= 0xBF58476D1CE4E5B9ull;
  return x ^ (x >> 31);
}

}  // namespace

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

std::size_t CaseInsensitiveHash::operator()(std::string_view text) const {
  // Eight bytes at a time, lower-cased together.
  std::uint64_t hash = kHashSeed ^ text.size();
  if (text.empty()) return static_cast<std::size_t>(hash);
  const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
  const std::uint8_t* const end = p + text.size();
  for (; end - p > 8; p += 8) hash = MixHash(hash ^ LowerAscii8(LoadLe64(p)));
  // The last one to eight bytes as one word, read without a loop. Words that overlap bytes
  // already folded in, or repeat a byte, still fold equal names alike, and the length is in.
  const std::size_t rest = static_cast<std::size_t>(end - p);
  std::uint64_t last;
  if (text.size() >= 8) {
    last = LoadLe64(end - 8);
  } else if (rest >= 4) {
    last = LoadLe32(p) | std::uint64_t{LoadLe32(end - 4)} << 32;
  } else {
    last = p[0] | std::uint64_t{p[rest / 2]} << 8 | std::uint64_t{end[-1]} << 16;
  }
  return static_cast<std::size_t>(MixHash(hash ^ LowerAscii8(last)));
}

}  // namespace quellor
