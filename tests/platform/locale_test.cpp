#include "platform/locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "platform/env.h"
#include "testing/temp_prefix.h"

// glibc's newlocale keeps the folder list it builds from LOCPATH for good; only this test sets
// LOCPATH (to find a locale it builds itself), so the leak checker is told to let that pass.
extern "C" const char* __lsan_default_suppressions() { return "leak:argz_add_sep\n"; }

namespace quellor {
namespace {
using ::quellor::testing::ScopedEnv;
using ::quellor::testing::TempDir;
using ::quellor::testing::TempPrefix;

std::string InternationalFile(const std::string& s_list_line) {
  return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\International]\r\n" + s_list_line +
         "\r\n";
}

TEST(ListSeparator, ComesFromTheUsersSettingWhenItFits) {
  const struct {
    std::string line;
    std::optional<char> separator;
  } cases[] = {
      {"\"sList\"=\";\"", ';'},         {"\"sList\"=\"|x\"", '|'},
      {"\"sList\"=\"abcd\"", 'a'},   // four characters and the NUL fill the buffer
      {"\"sList\"=\"abcde\"", ','},  // five do not fit: as if missing
      {"\"sList\"=\"\"", std::nullopt}, {"\"Other\"=\";\"", ','},
  };
  ScopedEnv lc_all("LC_ALL", "C");
  for (const auto& c : cases) {
    TempPrefix prefix;
    prefix.AddFile("user.reg", InternationalFile(c.line));
    Env::Default().Reset();
    EXPECT_EQ(ListSeparator(), c.separator) << c.line;
  }
  Env::Default().Reset();
}

TEST(ListSeparator, FollowsTheLocalesDecimalSignWithoutChangingTheProcessLocale) {
  TempPrefix empty_machine;
  Env::Default().Reset();
  TempDir locales;
  const std::string build =
      "localedef -i de_DE -f UTF-8 " + locales.Join("de_DE.UTF-8") + " >/dev/null 2>&1";
  if (std::system(build.c_str()) != 0) GTEST_SKIP() << "cannot build a comma locale here";
  ScopedEnv locpath("LOCPATH", locales.path().string());
  const struct {
    std::optional<std::string> lc_all, lc_numeric, lang;
    char separator;
  } cases[] = {
      {"de_DE.UTF-8", std::nullopt, std::nullopt, ';'},
      {std::nullopt, "de_DE.UTF-8", "C", ';'},
      {std::nullopt, std::nullopt, "de_DE.UTF-8", ';'},
      {"C", "de_DE.UTF-8", std::nullopt, ','},
      {"", "", "de_DE.UTF-8", ';'},                      // empty values count as unset
      {"xx_XX.UTF-8", std::nullopt, std::nullopt, ','},  // not installed
      {std::nullopt, std::nullopt, std::nullopt, ','},
  };
  for (const auto& c : cases) {
    ScopedEnv lc_all("LC_ALL", c.lc_all);
    ScopedEnv lc_numeric("LC_NUMERIC", c.lc_numeric);
    ScopedEnv lang("LANG", c.lang);
    EXPECT_EQ(ListSeparator(), c.separator)
        << c.lc_all.value_or("-") << c.lc_numeric.value_or("-") << c.lang.value_or("-");
  }
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", 1.5);
  EXPECT_STREQ(text, "1.5");
}

}  // namespace
}  // namespace quellor
