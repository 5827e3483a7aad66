// How the translator hands an argument to one of Access's functions that reads it by its
// SQLite storage (every argument but a type-hinted function's first, which carries its type):
// SQLite would misread a Yes/No (1, not -1), a Single (its double) or a Date (its ISO text).
//
//   kText    a Yes/No, Single or Date through access_text(v, type), as Access renders it
//   kNumber  a Yes/No as -1 or 0, a Date as its serial
//   kValue   a Yes/No as -1 or 0; anything else as it is (a date argument reads ISO text)
#pragma once

#include <cstddef>
#include <string_view>

namespace quellor::tagdll::sql {

enum class ArgumentKind { kText, kNumber, kValue };

// The kind of argument `index` of a call of `function` (its Access name, with or without
// "$") with `count` arguments.
ArgumentKind KindOfArgument(std::string_view function, std::size_t count, std::size_t index);

}  // namespace quellor::tagdll::sql
