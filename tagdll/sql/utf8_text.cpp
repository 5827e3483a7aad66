#include "tagdll/sql/utf8_text.h"

#include <algorithm>

#include "base/cp1252.h"

namespace quellor::tagdll::sql {
namespace {

constexpr char32_t kEscapedByteBase = 0xDC00;  // U+DC80..U+DCFF stand for bytes 0x80..0xFF

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The code point of the valid sequence at text[pos] and its length, or length 0 when the
// bytes there are not a valid sequence (overlong forms and surrogates included).
std::pair<char32_t, std::size_t> DecodeSequence(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t code_point = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code_point = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code_point = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code_point = lead & 0x07, minimum = 0x10000;
  } else {
    return {0, 0};
  }
  if (pos + length > text.size()) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(byte)) return {0, 0};
    code_point = (code_point << 6) | (byte & 0x3F);
  }
  if (code_point < minimum || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    return {0, 0};
  }
  return {code_point, length};
}

bool IsEscapedByte(char32_t character) {
  return character >= kEscapedByteBase + 0x80 && character <= kEscapedByteBase + 0xFF;
}

// Latin Extended-A pairs its letters upper then lower, starting on an even code point in
// these ranges and on an odd one in the others.
bool PairsFromEven(char32_t c) {
  return (c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
}
bool PairsFromOdd(char32_t c) { return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E); }

}  // namespace

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string characters;
  characters.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto [code_point, length] = DecodeSequence(text, pos);
    if (length == 0) {
      characters.push_back(kEscapedByteBase + static_cast<unsigned char>(text[pos]));
      ++pos;
    } else {
      characters.push_back(code_point);
      pos += length;
    }
  }
  return characters;
}

std::string EncodeUtf8(std::u32string_view characters) {
  std::string text;
  text.reserve(characters.size());
  for (const char32_t character : characters) {
    if (IsEscapedByte(character)) {
      text.push_back(static_cast<char>(character - kEscapedByteBase));
    } else {
      AppendUtf8(text, character);
    }
  }
  return text;
}

char32_t ToUpperCharacter(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c < 0xE0) return c;
  if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;  // U+00F7 is the division sign
  if (c == 0xFF) return 0x178;
  if (c == 0x131) return 'I';  // dotless i
  if (c == 0x17F) return 'S';  // long s
  if (PairsFromEven(c) && c % 2 == 1) return c - 1;
  if (PairsFromOdd(c) && c % 2 == 0) return c - 1;
  return c;
}

char32_t ToLowerCharacter(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;  // U+00D7 is the multiplication sign
  if (c == 0x178) return 0xFF;
  if (c == 0x130) return 'i';  // capital I with dot
  if (PairsFromEven(c) && c % 2 == 0) return c + 1;
  if (PairsFromOdd(c) && c % 2 == 1) return c + 1;
  return c;
}

std::u32string ToUpperText(std::u32string_view characters) {
  std::u32string upper(characters);
  std::transform(upper.begin(), upper.end(), upper.begin(), ToUpperCharacter);
  return upper;
}

std::u32string ToLowerText(std::u32string_view characters) {
  std::u32string lower(characters);
  std::transform(lower.begin(), lower.end(), lower.begin(), ToLowerCharacter);
  return lower;
}

int CompareTextIgnoringCase(std::u32string_view a, std::u32string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const char32_t left = ToLowerCharacter(a[i]);
    const char32_t right = ToLowerCharacter(b[i]);
    if (left != right) return left < right ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace quellor::tagdll::sql
