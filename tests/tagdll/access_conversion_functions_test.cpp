#include "access_functions_fixture.h"

namespace quellor::testing {
namespace {

using AccessConversionFunctions = AccessFunctionsTest;

TEST_F(AccessConversionFunctions, TestsOfValuesHandleNullAsAccessDoes) {
  const FunctionCase cases[] = {
      {"access_iif(1, 'a', 'b')", "'a'"},
      {"access_iif(0.5, 'a', 'b')", "'a'"},
      {"access_iif(NULL, 'a', 'b')", "'b'"},  // a Null condition is false
      {"access_iif('True', 'a', 'b')", "'a'"},
      {"access_iif('abc', 'a', 'b')", "null"},
      {"access_iif(1, NULL, 'b')", "null"},
      {"access_nz(NULL)", "''"},  // in a query Nz gives "" for Null
      {"access_nz(NULL, 0)", "0"},
      {"access_nz(2.5, 0)", "2.5"},
      {"access_isnull(NULL)", "1"},
      {"access_isnull('')", "0"},
      {"access_isnumeric(' -1,234.5 ')", "1"},
      {"access_isnumeric('$12')", "1"},
      {"access_isnumeric('(12)')", "1"},
      {"access_isnumeric('12-')", "1"},
      {"access_isnumeric('1d3')", "1"},
      {"access_isnumeric('&H1F')", "1"},
      {"access_isnumeric('')", "0"},
      {"access_isnumeric('.')", "0"},
      {"access_isnumeric('1 2')", "0"},
      {"access_isnumeric('2024-01-02 00:00:00')", "0"},
      {"access_isnumeric(NULL)", "0"},
  };
  ExpectAll(cases);
}

TEST_F(AccessConversionFunctions, TextOfAValueFollowsItsAccessType) {
  const FunctionCase cases[] = {
      {"access_cstr(1, {Boolean})", "'True'"},
      {"access_text(0, {Boolean})", "'False'"},
      {"access_cstr('2024-01-02 15:04:05', {Date})", "'1/2/2024 3:04:05 PM'"},
      {"access_cstr('2024-01-02 00:00:00', {Date})", "'1/2/2024'"},
      {"access_cstr('1899-12-30 00:00:00', {Date})", "'12:00:00 AM'"},
      {"access_cstr('1850-07-04 12:30:00', {Date})", "'7/4/1850 12:30:00 PM'"},
      {"access_cstr(0.100000001490116119384765625, {Single})", "'0.1'"},
      {"access_cstr(1.0 / 3, {Double})", "'0.333333333333333'"},
      {"access_cstr(123456789012345.0, {Double})", "'123456789012345'"},
      {"access_cstr(1e15, {Double})", "'1E+15'"},
      {"access_cstr(0.0001, {Double})", "'0.0001'"},
      {"access_cstr(0.00001, {Double})", "'1E-05'"},
      {"access_cstr(-2.5, {Double})", "'-2.5'"},
      {"access_cstr(12345.6789, {Currency})", "'12345.6789'"},
      {"access_cstr(9007199254740993, {Variant})", "'9007199254740993'"},
      {"access_cstr('x', {Text})", "'x'"},
      {"access_cstr(NULL, {Text})", "null"},
      {"access_str(5, {Int32})", "' 5'"},
      {"access_str(-5, {Int32})", "'-5'"},
      {"access_str('7', {Text})", "' 7'"},
      {"access_str('x', {Text})", "null"},
      {"access_str(1, {Boolean})", "'True'"},
  };
  ExpectAll(cases);
}

TEST_F(AccessConversionFunctions, NumberConversionsRoundHalfToEvenAndRefuseOverflow) {
  const FunctionCase cases[] = {
      {"access_cint(2.5, {Double})", "2"},
      {"access_cint(3.5, {Double})", "4"},
      {"access_cint(-2.5, {Double})", "-2"},
      {"access_cint(32767.5, {Double})", "null"},  // rounds to 32768: overflow, #Error
      {"access_cint(-32768.5, {Double})", "-32768"},
      {"access_cint('12.5', {Text})", "12"},
      {"access_cint('abc', {Text})", "null"},
      {"access_cint(1, {Boolean})", "-1"},  // True is -1
      {"access_cint('1900-01-01 12:00:00', {Date})", "2"},
      {"access_clng(2147483647.5, {Double})", "null"},
      {"access_clng('1,234', {Text})", "1234"},
      {"access_cdbl('1e3', {Text})", "1000.0"},
      {"access_cdbl('2024-01-02 00:00:00', {Date})", "45293.0"},
      {"access_cdbl('1/2/2024', {Text})", "null"},  // a date in text is no number
      {"access_csng(0.1, {Double})", "0.10000000149011612"},
      {"access_csng(1e39, {Double})", "null"},
      {"access_ccur(0.00025, {Double})", "0.0002"},
      {"access_ccur(0.00035, {Double})", "0.0004"},
      {"access_ccur('$1,234.56789', {Text})", "1234.5679"},
      {"access_ccur(922337203685478.0, {Double})", "null"},
      {"access_round_currency(0.00045)", "0.0004"},
      {"access_cbool(2, {Int32})", "1"},
      {"access_cbool('false', {Text})", "0"},
      {"access_cbool('yes', {Text})", "null"},
      {"access_val(' 1 2 3 abc')", "123.0"},
      {"access_val('1,234')", "1.0"},
      {"access_val('-.5e1x')", "-5.0"},
      {"access_val('12e')", "12.0"},
      {"access_val('&HFFFF')", "-1.0"},
      {"access_val('abc')", "0.0"},
      {"access_val('1e400')", "null"},
  };
  ExpectAll(cases);
}

TEST_F(AccessConversionFunctions, DatesConvertFromTextAndSerials) {
  const FunctionCase cases[] = {
      {"access_cdate('January 2, 2024', {Text})", "'2024-01-02 00:00:00'"},
      {"access_cdate('1/2/24 3:04 pm', {Text})", "'2024-01-02 15:04:00'"},
      {"access_cdate('13/1/2024', {Text})", "'2024-01-13 00:00:00'"},  // 13 is no month
      {"access_cdate('2024/1/2', {Text})", "'2024-01-02 00:00:00'"},
      {"access_cdate('02-Jan-45', {Text})", "'1945-01-02 00:00:00'"},
      {"access_cdate('Jan 1753', {Text})", "'1753-01-01 00:00:00'"},
      {"access_cdate('1/2', {Text})", "null"},  // the current year: refused
      {"access_cdate('2/30/2024', {Text})", "null"},
      {"access_cdate('not a date', {Text})", "null"},
      {"access_cdate(45293.5, {Double})", "'2024-01-02 12:00:00'"},
      {"access_cdate(-1.25, {Double})", "'1899-12-29 06:00:00'"},
      {"access_cdate(1, {Boolean})", "'1899-12-29 00:00:00'"},
      {"access_cdate(3000000, {Double})", "null"},
  };
  ExpectAll(cases);
}

TEST_F(AccessConversionFunctions, ArithmeticFollowsAccessRounding) {
  const FunctionCase cases[] = {
      {"access_int(-2.5, {Double})", "-3.0"},
      {"access_fix(-2.5, {Double})", "-2.0"},
      {"access_int(7, {Int32})", "7"},
      {"access_int(1, {Boolean})", "-1"},
      {"access_int('2.7', {Text})", "2.0"},
      {"access_int('2024-01-02 18:00:00', {Date})", "'2024-01-02 00:00:00'"},
      // Int of a serial before 1899-12-30 rounds the day count down, as Access computes.
      {"access_int('1899-12-29 06:00:00', {Date})", "'1899-12-28 00:00:00'"},
      {"access_abs(-3, {Int16})", "3"},
      {"access_abs(1, {Boolean})", "1"},
      {"access_sgn(-0.1, {Double})", "-1"},
      {"access_round(2.5, {Double})", "2.0"},
      {"access_round(3.5, {Double})", "4.0"},
      {"access_round(-2.5, {Double})", "-2.0"},
      {"access_round(0.125, 2, {Double})", "0.12"},
      {"access_round(0.375, 2, {Double})", "0.38"},
      {"access_round(12345, 2, {Int32})", "12345"},
      {"access_round(1.5, -1, {Double})", "null"},
      {"access_intdiv(-7, 2)", "-3"},
      {"access_intdiv(7.5, 2)", "4"},  // operands round half to even first
      {"access_intdiv(6.5, 2)", "3"},
      {"access_intdiv('9', '2')", "4"},
      {"access_intdiv(1, 0.4)", "null"},  // the divisor rounds to 0
      {"access_intdiv(-2147483648, -1)", "null"},
      {"access_mod(-7, 3)", "-1"},
      {"access_mod(7, -3)", "1"},
      {"access_mod(5.5, 2)", "0"},
      {"access_mod(1, 0)", "null"},
      {"access_pow(-2, 3)", "-8.0"},
      {"access_pow(-8, 1.0 / 3)", "null"},
      {"access_pow(0, -1)", "null"},
      {"access_pow(10, 400)", "null"},
  };
  ExpectAll(cases);
}

}  // namespace
}  // namespace quellor::testing
