// Access's functions, registered in SQLite, and what the translator knows of each.
//
// Every function is registered under "access_" + its lower-case Access name (Left and Left$
// are both access_left), so SQLite's own functions of the same name (round, replace, trim,
// instr, ...) stay as they are for the SQLite saved queries of a project.
//
// Values follow sql_type.h: a date argument may be the ISO text of a date, a number (a date
// serial) or another text that reads as a date; a boolean is any integer, non-zero true, and
// a boolean result is 1 or 0. A Null argument gives Null unless Access says otherwise (IIf's
// condition, Nz, IsNull, IsNumeric). Bad data (CInt of an overflow, CDate of a text that is no
// date, Mid with a start of 0) gives Null, as Access shows #Error, never an SQLite error: a
// failed step reads as "no more rows" to the program.
//
// Some results depend on the Access type of an argument that SQLite cannot tell (a Yes/No is
// an integer, a date is text): those functions take that argument's SqlType, as an integer,
// as one extra argument after the Access ones; `type_hinted` says so. They are CStr, Str,
// Format, CInt, CLng, CDbl, CSng, CCur, CBool, CDate, Int, Fix, Abs, Sgn and Round, and the
// type follows the last Access argument given: access_format(d, 'yyyy', 8) for a Date d.
// Other arguments carry no type, so the translator converts what SQLite would misread: a
// text parameter given a Yes/No, Single or Date takes access_text(v, type), a number
// parameter given a Yes/No takes Access's -1 or 0, and given a Date access_to_serial(v).
//
// The regional settings are fixed: English (United States). Dates show as M/D/YYYY and times
// as h:mm:ss AM/PM, with English month and day names; "." is the decimal point, "," the
// thousands separator and "$" the currency, negative amounts in parentheses; weeks start on
// Sunday and week 1 holds January 1. Where a comparison mode is left to the database (InStr,
// StrComp), text compares without regard to case, as queries do.
//
// Access's $ forms (Left$, Mid$, Format$, ...) are the same functions here. Date$ and Time$,
// which give text, are not provided. Now, Date and Time read the local clock and are
// registered as not deterministic; every other function is deterministic.
//
// Besides Access's own functions, the translator's helpers (no Access name of their own):
//   access_text(v, type)         v as text, as Access's & and CStr render it (Null gives Null)
//   access_to_serial(v)          a date (ISO text, serial or date text) as its serial, or Null
//   access_from_serial(d)        a serial as the ISO text of its date, or Null out of range
//   access_round_currency(d)     d rounded half to even at four places (a Currency value)
//   access_like(v, pattern)      Access's Like: * ? # [list] [!list], without regard to case
//   access_intdiv(a, b)          a \ b: both rounded half to even to Longs, then truncated
//   access_mod(a, b)             a Mod b: both rounded half to even to Longs, the sign of a
//                                (for both, a divisor of 0 or an operand beyond a Long: Null)
//   access_pow(a, b)             a ^ b (Null for a negative a with a fractional b, 0 ^ -n and
//                                an overflow)
//   access_first(v), access_last(v), access_stdev(v), access_stdevp(v), access_var(v),
//   access_varp(v)               aggregates, which FindAccessFunction finds by their Access
//                                names: First and Last (the group's first or last row, Null
//                                included) and the statistics (Null values skipped)
#pragma once

#include <sqlite3.h>

#include <span>
#include <string_view>

#include "tagdll/sql/sql_type.h"

namespace quellor::tagdll::sql {

struct AccessFunction {
  std::string_view name;         // as Access spells it, without "$" ("Left")
  std::string_view sqlite_name;  // "access_left"
  int min_args;
  int max_args;
  bool type_hinted;  // the SqlType of argument 0 follows the Access arguments
  bool aggregate;
  // The Access type of the result for these argument types (Left$ is always kText: the
  // translator asks with the $ form's name and gets the same entry).
  SqlType (*result_type)(std::span<const SqlType> arguments);
};

// The function of that Access name, without regard to case; a trailing "$" is allowed where
// Access has a $ form. nullptr for a name Access does not have here.
const AccessFunction* FindAccessFunction(std::string_view name);

// Registers every function and helper on the connection; SQLite's result code.
int RegisterAccessFunctions(sqlite3* connection);

}  // namespace quellor::tagdll::sql
