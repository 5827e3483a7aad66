#include "base/ascii.h"

#include <unordered_map>

#include <gtest/gtest.h>

namespace quellor {
namespace {

TEST(Ascii, UpperCasesOnlyAsciiLetters) {
  EXPECT_EQ(ToUpperAscii("c:\\proj\\unit1 \xe9\xfc"), "C:\\PROJ\\UNIT1 \xe9\xfc");
  EXPECT_EQ(ToLowerAscii("PelnetData\xC9"), "pelnetdata\xC9");
}

TEST(Ascii, ComparesWithoutCaseInByteOrder) {
  EXPECT_TRUE(EqualsIgnoreCase("PelnetData", "PELNETDATA"));
  EXPECT_FALSE(EqualsIgnoreCase("\xe9", "\xc9"));  // not ASCII: no case
  EXPECT_FALSE(EqualsIgnoreCase("View", "Viewer"));
  EXPECT_LT(CompareIgnoreCase("abc", "ABD"), 0);
  EXPECT_GT(CompareIgnoreCase("b", "A"), 0);
  EXPECT_LT(CompareIgnoreCase("ab", "abc"), 0);
  // As _stricmp: letters compare lower-cased, so '_' (0x5F) sorts before 'a' (0x61).
  EXPECT_LT(CompareIgnoreCase("_", "A"), 0);
  EXPECT_GT(CompareIgnoreCase("\x80", "z"), 0);
}

TEST(Ascii, TrimsTheSixCLocaleBlanks) {
  EXPECT_EQ(TrimAscii(" \t\r\n\v\fUNIT1 \t\r\n\v\f"), "UNIT1");
  EXPECT_EQ(TrimLeftAscii("  a  "), "a  ");
  EXPECT_EQ(TrimRightAscii("  a  "), "  a");
  EXPECT_EQ(TrimAscii("\xA0x\xA0"), "\xA0x\xA0");  // no-break space is not ASCII
  EXPECT_EQ(TrimAscii(" \t "), "");
}

TEST(Ascii, CaseInsensitiveMapFindsAnyCase) {
  std::unordered_map<std::string, int, CaseInsensitiveHash, CaseInsensitiveEqual> map;
  map["TANK1"] = 1;
  EXPECT_EQ(map.count("tank1"), 1u);
  EXPECT_EQ(map.count("tank2"), 0u);
  EXPECT_EQ(CaseInsensitiveHash()("Abc"), CaseInsensitiveHash()("aBC"));
}

// The hash folds eight bytes at a time: every length up to three words, every byte value.
TEST(Ascii, CaseInsensitiveHashIgnoresExactlyAsciiCaseAtEveryLength) {
  const CaseInsensitiveHash hash;
  for (std::size_t length = 1; length <= 24; ++length) {
    for (int byte = 0; byte < 256; ++byte) {
      std::string name(length, 'k');
      name[length / 2] = static_cast<char>(byte);
      const std::string upper = ToUpperAscii(name);
      EXPECT_EQ(hash(name), hash(upper)) << length << " " << byte;
      EXPECT_EQ(hash(name), hash(ToLowerAscii(upper))) << length << " " << byte;
    }
    // Names that differ only in a byte the folding does not touch, or in their length,
    // should land apart.
    EXPECT_NE(hash(std::string(length, 'a')), hash(std::string(length, 'b'))) << length;
    EXPECT_NE(hash(std::string(length, 'a')), hash(std::string(length + 1, 'a'))) << length;
    EXPECT_NE(hash(std::string(length, '\xC1')), hash(std::string(length, '\xE1'))) << length;
  }
}

}  // namespace
}  // namespace quellor
