// Access's functions, registered in SQLite, and what the translator knows of each.
//
// Every function is registered under "access_" + its lower-case Access name (Left and Left$
// are both access_left), so SQLite's own functions of the same name (round, replace, trim,
// instr, ...) stay as they are for the SQLite saved queries of a project.
//
// Values follow sql_type.h: a date argument may be the ISO text of a date, a number (a date
// serial) or another text that reads as a date; a boolean is any integer, non-zero true, and
// a boolean result is 1 or 0. A Null argument gives Null unless Access says otherwise (Nz,
// IsNull, IsNumeric, Len of ...). Bad data (CInt of an overflow, CDate of a text that is no
// date, Mid with a start of 0) gives Null, as Access shows #Error, never an SQLite error: a
// failed step reads as "no more rows" to the program.
//
// Some results depend on the Access type of an argument that SQLite cannot tell (a Yes/No is
// an integer, a date is text): those functions take that argument's SqlType, as an integer,
// as one extra argument after the Access ones; `type_hinted` says so.
//
// Besides Access's own functions, the translator's helpers (no Access name of their own):
//   access_text(v, type)         v as text, as Access's & and CStr render it (Null gives Null)
//   access_to_serial(v)          a date (ISO text, serial or date text) as its serial, or Null
//   access_from_serial(d)        a serial as the ISO text of its date, or Null out of range
//   access_round_currency(d)     d rounded half to even at four places (a Currency value)
//   access_like(v, pattern)      Access's Like: * ? # [list] [!list], without regard to case
//   access_intdiv(a, b)          a \ b: both rounded half to even to integers, then truncated
//   access_mod(a, b)             a Mod b: both rounded half to even, the sign of a
//   access_pow(a, b)             a ^ b
//   access_first(v), access_last(v), access_stdev(v), access_stdevp(v), access_var(v),
//   access_varp(v)               aggregates: First, Last and the statistics
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
