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

}  // namespace
}  // namespace quellor
