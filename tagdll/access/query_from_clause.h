// The FROM clause of a saved query, rebuilt from its source rows (attribute 5) and join rows
// (attribute 7) the way Access nests its joins. The sources start as a list in row order;
// each join row, in order, takes the list entries holding its left and right sources out of
// the list (the left one first found) and appends their join, or, when one entry holds both
// already, adds its condition to that join. The entries left are the FROM clause, separated
// by commas; an inner join is written in parentheses:
//
//   Shippers INNER JOIN (Products INNER JOIN (Orders INNER JOIN [Order Details]
//   ON Orders.OrderID = [Order Details].OrderID) ON ...) ON ...
#pragma once

#include <span>
#include <string>

#include "base/status.h"
#include "tagdll/access/query_rows.h"

namespace quellor::tagdll::access {

// The clause without the word FROM. Fails (kCorruption) for a join naming no source, a join
// kind other than inner (1), left (2) and right (3), or two joins of one pair that differ in
// kind.
Result<std::string> BuildFromClause(std::span<const QueryRow* const> sources,
                                    std::span<const QueryRow* const> joins);

}  // namespace quellor::tagdll::access
