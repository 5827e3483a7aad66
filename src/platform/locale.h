// The user's locale settings the program reads, without ever changing the process's locale
// (a "%f" must keep its point).
#pragma once

#include <optional>

namespace quellor {

// The list separator, as GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST) into a 5-byte
// buffer gives its first character:
// - the registry's HKEY_CURRENT_USER\Control Panel\International value "sList": its first
//   character, or no separator at all (nullopt) when it is empty; five characters or more do
//   not fit and count as missing;
// - else ';' when the user's locale (LC_ALL, else LC_NUMERIC, else LANG; one that is not
//   installed counts as none) writes decimals with a comma, else ','.
std::optional<char> ListSeparator();

}  // namespace quellor
