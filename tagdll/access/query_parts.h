// A saved query's rows (query_rows.h) grouped by attribute, each attribute's rows in the
// order of their Order bytes, and the select flags: what the decoder works from.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "tagdll/access/query_rows.h"

namespace quellor::tagdll::access {

using QueryRowList = std::vector<const QueryRow*>;

class QueryParts final {
 public:
  // Keeps pointers into `query`, which must outlive this object.
  explicit QueryParts(const SavedQueryRows& query);

  const QueryRowList& rows(int attribute) const;
  // The one row of an attribute that has at most one; nullptr when there is none. Fails
  // (kCorruption) when there are several; `what` names the attribute for the message.
  Result<const QueryRow*> Single(int attribute, std::string_view what) const;

 private:
  std::map<int, QueryRowList> by_attribute_;
};

// The rows of `rows` whose Flag has any bit of `mask` set (or, with `set` false, none).
QueryRowList RowsWithFlag(const QueryRowList& rows, int mask, bool set = true);

// A row's Flag, 0 when it has none.
inline int FlagOf(const QueryRow& row) { return row.flag.value_or(0); }

}  // namespace quellor::tagdll::access
