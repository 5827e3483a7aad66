// Windows-1252, the program's narrow text, and its conversions at the host's boundaries.
// A table of our own: glibc's iconv refuses 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which Windows
// maps to the C1 control characters of the same value (and back).
#pragma once

#include <string>
#include <string_view>

namespace quellor {

// The Unicode code point of a Windows-1252 byte. Every byte has one.
char32_t Cp1252ToCodePoint(unsigned char byte);
// The Windows-1252 byte of a code point, or '?' when it has none.
char CodePointToCp1252(char32_t code_point);

std::string Cp1252ToUtf8(std::string_view text);
// The text in UTF-8 without a copy when it is ASCII, which reads the same in both; otherwise
// converted into `storage`, which the view then points into.
std::string_view Cp1252AsUtf8(std::string_view text, std::string& storage);
// Bytes that are not part of a valid UTF-8 sequence pass as they are; a character with no
// Windows-1252 byte becomes '?'.
std::string Utf8ToCp1252(std::string_view text);

std::u16string Cp1252ToUtf16(std::string_view text);
// A character with no Windows-1252 byte (a surrogate pair counts as one) becomes '?'.
std::string Utf16ToCp1252(std::u16string_view text);
// For showing UTF-16 text on the host; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Appends the UTF-8 encoding of a code point.
void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace quellor
