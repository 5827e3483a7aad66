#include "tagdll/access/query_parts.h"

#include <algorithm>

namespace quellor::tagdll::access {

QueryParts::QueryParts(const SavedQueryRows& query) {
  for (const QueryRow& row : query.rows) by_attribute_[row.attribute].push_back(&row);
  for (auto& [attribute, rows] : by_attribute_) {
    // Order holds big-endian numbers: byte order is their order.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const QueryRow* a, const QueryRow* b) { return a->order < b->order; });
  }
}

const QueryRowList& QueryParts::rows(int attribute) const {
  static const QueryRowList kNone;
  const auto it = by_attribute_.find(attribute);
  return it == by_attribute_.end() ? kNone : it->second;
}

Result<const QueryRow*> QueryParts::Single(int attribute, std::string_view what) const {
  const QueryRowList& found = rows(attribute);
  if (found.size() > 1) return Status::Corruption("more than one " + std::string(what) + " row");
  return found.empty() ? nullptr : found.front();
}

QueryRowList RowsWithFlag(const QueryRowList& rows, int mask, bool set) {
  QueryRowList kept;
  for (const QueryRow* row : rows) {
    if (((FlagOf(*row) & mask) != 0) == set) kept.push_back(row);
  }
  return kept;
}

}  // namespace quellor::tagdll::access
