#include "access_functions_fixture.h"

namespace quellor::testing {
namespace {

using AccessTextFunctions = AccessFunctionsTest;

TEST_F(AccessTextFunctions, CountAndCutCharactersNotBytes) {
  const FunctionCase cases[] = {
      {"access_len('héllo')", "5"},
      {"access_len('')", "0"},
      {"access_len(NULL)", "null"},
      {"access_len(12.5)", "4"},  // a number counts as its text
      {"access_left('héllo', 2)", "'hé'"},
      {"access_left('abc', 10)", "'abc'"},
      {"access_left('abc', 2.5)", "'ab'"},  // lengths round half to even
      {"access_left('abc', -1)", "null"},
      {"access_left('abc', NULL)", "null"},
      {"access_right('héllo', 3)", "'llo'"},
      {"access_right('ab', 5)", "'ab'"},
      {"access_mid('abc', 2)", "'bc'"},
      {"access_mid('héllo', 2, 2)", "'él'"},
      {"access_mid('abc', 5)", "''"},
      {"access_mid('abc', 0)", "null"},
      {"access_mid('abc', 1, -1)", "null"},
      {"access_mid(CAST(x'61ff62' AS TEXT), 2, 1)", "'\xff'"},  // a stray byte is one character
      {"access_instr('Hello', 'L')", "3"},  // a query compares without regard to case
      {"access_instr(4, 'Hello', 'l')", "4"},
      {"access_instr(1, 'Hello', 'L', 0)", "0"},
      {"access_instr('aÉcole', 'é')", "2"},
      {"access_instr('añb', 'b')", "3"},
      {"access_instr('abc', '')", "1"},
      {"access_instr('', 'a')", "0"},
      {"access_instr(9, 'abc', 'a')", "0"},
      {"access_instr(0, 'abc', 'a')", "null"},
      {"access_instr(1, 'abc', 'a', 3)", "null"},
      {"access_instr(NULL, 'a')", "null"},
  };
  ExpectAll(cases);
}

TEST_F(AccessTextFunctions, ChangeCaseTrimAndRepeat) {
  const FunctionCase cases[] = {
      {"access_ucase('straße àÿ ž')", "'STRAßE ÀŸ Ž'"},
      {"access_lcase('ÀÉÎ Œ × Q')", "'àéî œ × q'"},
      {"access_lcase(NULL)", "null"},
      {"access_trim('  a b  ')", "'a b'"},
      {"access_ltrim('  a ')", "'a '"},
      {"access_rtrim(' a  ')", "' a'"},
      {"access_trim('   ')", "''"},
      {"access_trim(char(9) || 'a')", "'\ta'"},  // only blanks are trimmed
      {"access_space(3)", "'   '"},
      {"access_space(-1)", "null"},
      {"access_space(2000000000)", "null"},  // beyond SQLite's limit: #Error, not a failed step
      {"access_string(3, 'xyz')", "'xxx'"},
      {"access_string(2, 65)", "'AA'"},
      {"access_string(2, 321)", "'AA'"},  // codes wrap at 256
      {"access_string(1, 128)", "'€'"},
      {"access_string(2, '')", "null"},
      {"access_chr(65)", "'A'"},
      {"access_chr(128)", "'€'"},
      {"access_chr(256)", "null"},
      {"access_asc('€uro')", "128"},
      {"access_asc('ж')", "63"},  // no Windows-1252 byte: "?"
      {"access_asc('')", "null"},
  };
  ExpectAll(cases);
}

TEST_F(AccessTextFunctions, ReplaceAndCompare) {
  const FunctionCase cases[] = {
      {"access_replace('aXbxc', 'x', '-')", "'aXb-c'"},  // binary unless told otherwise
      {"access_replace('aXbxc', 'x', '-', 1, -1, 1)", "'a-b-c'"},
      {"access_replace('abcabc', 'b', '', 3)", "'cac'"},  // the result starts at start
      {"access_replace('aaa', 'a', 'bb', 1, 2)", "'bbbba'"},
      {"access_replace('ééé', 'é', 'e')", "'eee'"},
      {"access_replace('abc', '', 'x')", "'abc'"},
      {"access_replace('abc', 'b', 'x', 9)", "''"},
      {"access_replace('abc', 'b', 'x', 0)", "null"},
      {"access_replace('abc', 'b', 'x', 1, -2)", "null"},
      {"access_replace(NULL, 'b', 'x')", "null"},
      {"access_strcomp('abc', 'ABC')", "0"},
      {"access_strcomp('abc', 'ABC', 0)", "1"},
      {"access_strcomp('a', 'B')", "-1"},
      {"access_strcomp('é', 'É')", "0"},
      {"access_strcomp('a', NULL)", "null"},
  };
  ExpectAll(cases);
}

TEST_F(AccessTextFunctions, LikeMatchesAccessWildcardsWithoutRegardToCase) {
  const FunctionCase cases[] = {
      {"access_like('Hello', 'h*')", "1"},        {"access_like('Hello', 'H?llo')", "1"},
      {"access_like('Hello', 'H?lo')", "0"},      {"access_like('a1', 'a#')", "1"},
      {"access_like('ab', 'a#')", "0"},           {"access_like('B', '[a-c]')", "1"},
      {"access_like('d', '[!a-c]')", "1"},        {"access_like('b', '[!a-c]')", "0"},
      {"access_like('*', '[*]')", "1"},           {"access_like('x', '[*]')", "0"},
      {"access_like('-', '[a-]')", "1"},          {"access_like('ab', 'a[]b')", "1"},
      {"access_like('aaaaaaaaab', '*a*b')", "1"}, {"access_like('abcabd', '*ab?')", "1"},
      {"access_like('Ünïcode', 'ü*E')", "1"},     {"access_like('', '*')", "1"},
      {"access_like('abc', 'a[bc')", "null"},  // unclosed list: #Error
      {"access_like('abc', '[c-a]*')", "null"},   {"access_like(NULL, '*')", "null"},
  };
  ExpectAll(cases);
}

}  // namespace
}  // namespace quellor::testing
