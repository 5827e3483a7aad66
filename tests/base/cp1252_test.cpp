#include "base/cp1252.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUtf8AndUtf16) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Utf16ToCp1252(Cp1252ToUtf16(all)), all);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(CodePointToCp1252(Cp1252ToCodePoint(static_cast<unsigned char>(b))),
              static_cast<char>(b))
        << b;
  }
}

TEST(Cp1252, AsUtf8ViewsAsciiAsItStandsAndConvertsTheRest) {
  std::string storage;
  const std::string ascii = "qFTTagServer";
  EXPECT_EQ(Cp1252AsUtf8(ascii, storage).data(), ascii.data());
  EXPECT_EQ(Cp1252AsUtf8("Caf\xE9", storage), "Caf\xC3\xA9");
}

TEST(Cp1252, MapsTheTableOfWindows) {
  struct Case {
    unsigned char byte;
    char32_t code_point;
  };
  const Case cases[] = {
      {0x41, U'A'},      {0x80, U'\u20AC'}, {0x81, 0x0081},    {0x8D, 0x008D},
      {0x8F, 0x008F},    {0x90, 0x0090},    {0x9D, 0x009D},    {0x9F, U'\u0178'},
      {0x99, U'\u2122'}, {0xA0, 0x00A0},    {0xB0, U'\u00B0'}, {0xFF, U'\u00FF'},
  };
  for (const Case& c : cases) EXPECT_EQ(Cp1252ToCodePoint(c.byte), c.code_point) << int(c.byte);
  EXPECT_EQ(Cp1252ToUtf8("\xB0"
                         "C"),
            "\u00B0C");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81");
}

TEST(Cp1252, Utf8WithoutAWindowsByteBecomesQuestionMark) {
  EXPECT_EQ(Utf8ToCp1252("\u20AC 5 \u00B0C"),
            "\x80 5 \xB0"
            "C");
  EXPECT_EQ(Utf8ToCp1252("\u4E2D\u6587"), "??");
  EXPECT_EQ(Utf8ToCp1252("x\U0001F600y"), "x?y");
}

TEST(Cp1252, BytesThatAreNotValidUtf8PassAsTheyAre) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"caf\xE9", "caf\xE9"},                    // a lone Latin-1 byte
      {"\xC3", "\xC3"},                          // a lead byte at the end
      {"\xC3(", "\xC3("},                        // a lead byte without continuation
      {"\xC0\xAF", "\xC0\xAF"},                  // an overlong encoding
      {"\xED\xA0\x80", "\xED\xA0\x80"},          // a surrogate
      {"\xF4\x90\x80\x80", "\xF4\x90\x80\x80"},  // beyond U+10FFFF
      {"\x80\xC3\xA9", "\x80\xE9"},              // a stray continuation, then a valid e-acute
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1252(c.in), c.out) << c.in;
}

TEST(Cp1252, Utf16SurrogatesBecomeOneQuestionMarkPerCharacter) {
  EXPECT_EQ(Utf16ToCp1252(u"a\U0001F600b"), "a?b");
  EXPECT_EQ(Utf16ToCp1252(std::u16string(1, char16_t(0xD800)) + u"x"), "?x");
  EXPECT_EQ(Utf16ToCp1252(u"\u0416"), "?");
  EXPECT_EQ(Utf16ToUtf8(u"\u00B0C \U0001F600"), "\u00B0C \U0001F600");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\uFFFD");
}

}  // namespace
}  // namespace quellor
