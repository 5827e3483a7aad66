// A saved query as an Access file stores it: its rows of the system table MSysQueries, plain
// data with no tie to the library, so that the decoder (query_decoder.h) can be tested and
// fuzzed on its own. Each row has an attribute saying what it describes:
//
//   attribute  row                 Name1            Name2          Expression   Flag
//   0          start               -                -              -            -
//   1          the query's type    target table     target file    file type    type
//   2          a parameter         its name         -              -            its type
//   3          select flags        TOP's count      -              -            flags
//   4          source file         path             -              type         -
//   5          a source            table or query   alias          subquery     -
//   6          an output column    alias            target column  expression   role
//   7          a join              left source      right source   condition    kind
//   8, 9, 10   WHERE, GROUP BY, HAVING              -              expression   role (9)
//   11         ORDER BY            "D" descending   -              expression   -
//   255        end
//
// Rows of one attribute come in the order of their Order bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quellor::tagdll::access {

enum QueryAttribute : int {
  kStartAttribute = 0,
  kTypeAttribute = 1,
  kParameterAttribute = 2,
  kFlagsAttribute = 3,
  kSourceFileAttribute = 4,
  kSourceAttribute = 5,
  kColumnAttribute = 6,
  kJoinAttribute = 7,
  kWhereAttribute = 8,
  kGroupByAttribute = 9,
  kHavingAttribute = 10,
  kOrderByAttribute = 11,
  kEndAttribute = 255,
};

struct QueryRow {
  int attribute = 0;
  std::string order;  // big-endian bytes: rows of one attribute sort by them
  std::optional<std::string> name1;
  std::optional<std::string> name2;
  std::optional<std::string> expression;
  std::optional<int> flag;
  std::optional<std::int32_t> extra;  // LvExtra (Jet 4, ACE): a Text parameter's size
};

struct SavedQueryRows {
  std::string name;
  std::int32_t object_flags = 0;  // the query's Flags in MSysObjects
  std::vector<QueryRow> rows;
};

}  // namespace quellor::tagdll::access
