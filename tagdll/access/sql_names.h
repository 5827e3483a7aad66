// Names in Access SQL as Access writes them into a saved query's text: in brackets when they
// are not plain identifiers (letters, digits and underscores, not starting with a digit) or
// are reserved words of Access SQL. Letters beyond ASCII count as letters.
#pragma once

#include <string>
#include <string_view>

namespace quellor::tagdll::access {

bool NeedsBrackets(std::string_view name);
// The name, in brackets when it needs them.
std::string QuotedName(std::string_view name);
// The name in brackets.
std::string BracketedName(std::string_view name);
// Each part of a bang path in brackets: "Forms!Orders!OrderID" is
// "[Forms]![Orders]![OrderID]"; a plain name is bracketed whole.
std::string BracketedPath(std::string_view name);

}  // namespace quellor::tagdll::access
