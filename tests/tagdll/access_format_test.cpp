#include "access_functions_fixture.h"

namespace quellor::testing {
namespace {

using AccessFormat = AccessFunctionsTest;

TEST_F(AccessFormat, NamedNumberFormatsUseUnitedStatesSettings) {
  const FunctionCase cases[] = {
      {"access_format(1234.5, 'Currency', {Double})", "'$1,234.50'"},
      {"access_format(-1234.5, 'Currency', {Double})", "'($1,234.50)'"},
      {"access_format(1234.5, 'Fixed', {Double})", "'1234.50'"},
      {"access_format(-0.5, 'fixed', {Double})", "'-0.50'"},
      {"access_format(1234.5, 'Standard', {Double})", "'1,234.50'"},
      {"access_format(1234567.891, 'Standard', {Double})", "'1,234,567.89'"},
      {"access_format(-1234567.891, 'Currency', {Double})", "'($1,234,567.89)'"},
      {"access_format(0.1234, 'Percent', {Double})", "'12.34%'"},
      {"access_format(1e308, 'Percent', {Double})", "null"},  // overflow: #Error
      {"access_format(1234.5, 'Scientific', {Double})", "'1.23E+03'"},
      {"access_format(1234.5, 'General Number', {Double})", "'1234.5'"},
      {"access_format(0, 'Yes/No', {Double})", "'No'"},
      {"access_format(1, 'Yes/No', {Boolean})", "'Yes'"},
      {"access_format(1, 'True/False', {Boolean})", "'True'"},
      {"access_format(7, 'On/Off', {Int32})", "'On'"},
      {"access_format(1234.5, {Double})", "'1234.5'"},
      {"access_format(1, {Boolean})", "'True'"},
      {"access_format('2024-01-02 00:00:00', {Date})", "'1/2/2024'"},
      {"access_format('2024-01-02 00:00:00', {Text})", "'2024-01-02 00:00:00'"},
      {"access_format(NULL, 'Fixed', {Double})", "null"},
  };
  ExpectAll(cases);
}

TEST_F(AccessFormat, CustomNumberFormatsPlaceDigitsSignsAndSections) {
  const FunctionCase cases[] = {
      {"access_format(2.5, '0', {Double})", "'3'"},          // half away from zero, unlike CInt
      {"access_format(1.005, '0.00', {Double})", "'1.01'"},  // on the 15 digits Access shows
      {"access_format(9.9999999, '#0.000000', {Double})", "'10.000000'"},
      {"access_format(0.17, '#.00', {Double})", "'.17'"},
      {"access_format(0.0049, '#.##', {Double})", "'.'"},
      {"access_format(0.0099, '#.##', {Double})", "'.01'"},
      {"access_format(1, '000###', {Int32})", "'000001'"},
      {"access_format(1, '000-00-0000', {Int32})", "'000-00-0001'"},
      {"access_format(123456789, '#,#.#', {Int32})", "'123,456,789.'"},
      {"access_format(1234567, '#,##0,', {Int32})", "'1,235'"},  // a trailing comma scales
      {"access_format(1, '00\\c\\o\\p\\y', {Int32})", "'01copy'"},
      {"access_format(5, '0 €', {Int32})", "'5 €'"},
      {"access_format(1.73245, '0.0000E+000', {Double})", "'1.7325E+000'"},
      {"access_format(1.7, '0.0000E-000', {Double})", "'1.7000E000'"},
      {"access_format(47.11, '.0000E+0', {Double})", "'.4711E+2'"},
      {"access_format(0.000123, '0.0E-00', {Double})", "'1.2E-04'"},
      {"access_format(0.100000001490116119384765625, '0.000000000', {Single})", "'0.100000000'"},
      // Negative numbers: a minus before the first section, or the second section unsigned.
      {"access_format(-1.57, '0.00', {Double})", "'-1.57'"},
      {"access_format(-0.1, '.#', {Double})", "'-.1'"},
      {"access_format(-1234567, '#,##0', {Int32})", "'-1,234,567'"},
      {"access_format(-5, '$#,##0.00;($#,##0.00)', {Double})", "'($5.00)'"},
      {"access_format(-5, '0;;\"zero\"', {Int32})", "'-5'"},
      {"access_format(0, '0;(0);\"zero\"', {Int32})", "'zero'"},
      {"access_format(0, '0;(0)', {Int32})", "'0'"},
      {"access_format(1, '0', {Boolean})", "'-1'"},
      {"access_format('12', '0.00', {Text})", "'12.00'"},
      {"access_format('abc', '0.00', {Text})", "'abc'"},  // not a number: as it is
      {"access_format('2024-01-02 00:00:00', '0.00', {Date})", "'45293.00'"},
  };
  ExpectAll(cases);
}

TEST_F(AccessFormat, DateFormatsNamedAndCustom) {
  const FunctionCase cases[] = {
      {"access_format('2024-01-02 15:04:05', 'Short Date', {Date})", "'1/2/2024'"},
      {"access_format('2024-01-02 15:04:05', 'Medium Date', {Date})", "'02-Jan-24'"},
      {"access_format('2024-01-02 15:04:05', 'Long Date', {Date})", "'Tuesday, January 2, 2024'"},
      {"access_format('2024-01-02 15:04:05', 'Short Time', {Date})", "'15:04'"},
      {"access_format('2024-01-02 15:04:05', 'Medium Time', {Date})", "'03:04 PM'"},
      {"access_format('2024-01-02 15:04:05', 'Long Time', {Date})", "'3:04:05 PM'"},
      {"access_format('2024-01-02 15:04:05', 'General Date', {Date})", "'1/2/2024 3:04:05 PM'"},
      {"access_format('2024-01-02 15:04:05', 'yyyy', {Date})", "'2024'"},
      {"access_format('2024-01-02 15:04:05', 'mmm', {Date})", "'Jan'"},
      {"access_format('2024-01-02 15:04:05', 'mmmm yyyy', {Date})", "'January 2024'"},
      {"access_format('2024-11-02 15:04:05', 'q', {Date})", "'4'"},
      {"access_format('2024-01-02 15:04:05', 'dd/mm/yyyy', {Date})", "'02/01/2024'"},
      {"access_format('2024-01-02 15:04:05', 'hh:mm:ss', {Date})", "'15:04:05'"},  // mm: minutes
      {"access_format('2024-01-02 15:04:05', 'mm :ss', {Date})", "'01 :05'"},      // mm: the month
      {"access_format('2024-01-02 15:04:05', 'h:nn a/p', {Date})", "'3:04 p'"},
      {"access_format('2024-01-02 00:04:05', 'h:nn AM/PM', {Date})", "'12:04 AM'"},
      {"access_format('2024-01-02 15:04:05', 'ddd d mmm yy', {Date})", "'Tue 2 Jan 24'"},
      {"access_format('2024-01-02 15:04:05', 'y w ww', {Date})", "'2 3 1'"},
      {"access_format('2024-01-02 15:04:05', '\"Q\"q yyyy', {Date})", "'Q1 2024'"},
      {"access_format('2024-01-02 15:04:05', 'c', {Date})", "'1/2/2024 3:04:05 PM'"},
      {"access_format('2024-01-02 15:04:05', 'yyyy年m月', {Date})", "'2024年1月'"},
      {"access_format('1850-03-04 00:00:00', 'Long Date', {Date})", "'Monday, March 4, 1850'"},
      {"access_format('2099-12-31 23:59:59', 'yyyy-mm-dd hh:nn:ss', {Date})",
       "'2099-12-31 23:59:59'"},
      {"access_format(45293.5, 'Short Date', {Double})", "'1/2/2024'"},  // a serial
      {"access_format('1/2/2024', 'yyyy-mm-dd', {Text})", "'2024-01-02'"},
      {"access_format('abc', 'yyyy', {Text})", "'abc'"},
      {"access_format('2040-12-31 00:00:00', 'ww', 2, 2, {Date})", "'1'"},
      {"access_format('2024-01-02 00:00:00', 'yyyy', 9, {Date})", "null"},
  };
  ExpectAll(cases);
}

TEST_F(AccessFormat, TextFormatsFillPlaceholders) {
  const FunctionCase cases[] = {
      {"access_format('abc', '>', {Text})", "'ABC'"},
      {"access_format('ÀBC', '<', {Text})", "'àbc'"},
      {"access_format('465043799', '@@@-@@-@@@@', {Text})", "'465-04-3799'"},
      {"access_format('ab', '@@@@', {Text})", "'  ab'"},
      {"access_format('ab', '!@@@@', {Text})", "'ab  '"},
      {"access_format('ab', '&&&&', {Text})", "'ab'"},
      {"access_format('testing', '\\x@\\x@', {Text})", "'xtxesting'"},
      {"access_format('', '@;\"None\"', {Text})", "'None'"},
  };
  ExpectAll(cases);
}

}  // namespace
}  // namespace quellor::testing
