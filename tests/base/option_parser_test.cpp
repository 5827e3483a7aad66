#include "base/option_parser.h"

#include <gtest/gtest.h>

#include <array>

namespace quellor {
namespace {

struct Values {
  bool help = false;
  bool strict = false;
  std::vector<std::string> drives;
};

constexpr std::array<ProgramOption<Values>, 3> kTable = {{
    {.name = "--help",
     .help = "print this text",
     .flag = &Values::help,
     .other_spellings = "-h /?"},
    {.name = "--strict", .help = "exit 2 on an error", .flag = &Values::strict},
    {.name = "--drive", .help = "map a drive", .values = &Values::drives, .value_name = "X:=DIR"},
}};

Result<ParsedArguments<Values>> Parse(const std::vector<std::string>& args) {
  return ParseProgramOptions<Values>(kTable, args);
}

TEST(ParseProgramOptions, TakesOptionsAnywhereAndKeepsTheOperandsInOrder) {
  const struct {
    std::vector<std::string> args;
    bool help;
    bool strict;
    std::vector<std::string> drives;
    std::vector<std::string> operands;
  } cases[] = {
      {{}, false, false, {}, {}},
      {{"C:\\PROJ", "UNIT1"}, false, false, {}, {"C:\\PROJ", "UNIT1"}},
      {{"--strict", "C:\\PROJ"}, false, true, {}, {"C:\\PROJ"}},
      {{"C:\\PROJ", "--STRICT"}, false, true, {}, {"C:\\PROJ"}},  // names ignore ASCII case
      {{"-H"}, true, false, {}, {}},
      {{"/?"}, true, false, {}, {}},
      {{"-x", "/x"}, false, false, {}, {"-x", "/x"}},  // only "--" starts an unknown option
      {{"--drive", "C:=/a", "--drive=D:=/b"}, false, false, {"C:=/a", "D:=/b"}, {}},
      {{"--", "--strict", "-h"}, false, false, {}, {"--strict", "-h"}},
      {{"", "  "}, false, false, {}, {"", "  "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const auto parsed = Parse(c.args);
    ASSERT_TRUE(parsed.ok()) << parsed.status().ToString();
    EXPECT_EQ(parsed->values.help, c.help);
    EXPECT_EQ(parsed->values.strict, c.strict);
    EXPECT_EQ(parsed->values.drives, c.drives);
    EXPECT_EQ(parsed->operands, c.operands);
  }
}

TEST(ParseProgramOptions, RefusesUnknownOptionsAndMisplacedValues) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--preview", "C:\\PROJ"}, "unknown option --preview"},
      {{"--strict=yes"}, "--strict takes no value"},
      {{"--drive"}, "--drive needs a value"},
  };
  for (const auto& c : cases) {
    const auto parsed = Parse(c.args);
    ASSERT_FALSE(parsed.ok()) << c.message;
    EXPECT_EQ(parsed.status(), Status::InvalidArgument(c.message));
  }
}

TEST(OptionsUsage, ListsEachRowWithItsValueAndOtherSpellings) {
  EXPECT_EQ(OptionsUsage<Values>(kTable),
            "  --help (also -h /?)     print this text\n"
            "  --strict                exit 2 on an error\n"
            "  --drive X:=DIR          map a drive\n");
}

}  // namespace
}  // namespace quellor
