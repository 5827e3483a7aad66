// The adaptation of the program's Access SQL texts to SQLite. A tokenizer walks the text so
// that nothing inside a literal, a bracketed name or a comment is ever rewritten:
//  - a double-quoted text is a string literal (a doubled double quote inside stands for one);
//    it becomes a single-quoted literal, with single quotes doubled;
//  - the words True and False become 1 and 0;
//  - [bracketed] names, single-quoted literals and everything else (ORDER BY included) stay as
//    written.
// The names the text uses are collected, so that saved queries among them can be supplied.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace quellor::tagdll {

struct AdaptedSql {
  std::string text;
  // Every name that may stand for a table (bare or bracketed, not after a '.', not a function
  // call), without brackets, each once (compared without regard to case), in order of use.
  std::vector<std::string> names;
};

// Fails (kInvalidArgument) on a literal, bracketed name or comment that is not closed.
Result<AdaptedSql> AdaptAccessSql(std::string_view sql);

}  // namespace quellor::tagdll
