// Text as Access's string functions see it: a sequence of characters, not of bytes. SQLite
// hands text over as UTF-8; these decode it to code points and back without loss, so a
// function can count, cut and compare characters and return the bytes it was given.
#pragma once

#include <string>
#include <string_view>

namespace quellor::tagdll::sql {

// The code points of UTF-8 text. A byte that is not part of a valid sequence becomes one
// character of its own (a lone surrogate, U+DC80 to U+DCFF) that EncodeUtf8 turns back into
// that byte, so decoding and encoding give the same bytes for any input.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view characters);

// Case as Access maps it, for ASCII and the Latin-1 and Latin Extended-A letters; any other
// character is its own upper and lower case.
char32_t ToUpperCharacter(char32_t character);
char32_t ToLowerCharacter(char32_t character);
std::u32string ToUpperText(std::u32string_view characters);
std::u32string ToLowerText(std::u32string_view characters);

// Access's text comparison: without regard to case, then by code point. Negative, zero or
// positive.
int CompareTextIgnoringCase(std::u32string_view a, std::u32string_view b);

}  // namespace quellor::tagdll::sql
