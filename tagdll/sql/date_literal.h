// Access's #date# literals, which are read in the United States' order whatever the locale:
// #12/31/95#, #12-31-1995#, #1995-12-31#, #31-Dec-95#, each with an optional time
// (#1/1/95 10:30 PM#, #1/1/95 22:30:15#), or a time alone (#10:30#, on 1899-12-30). A year of
// two digits is 1930 to 2029.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quellor::tagdll::sql {

// The literal (without its hashes) as "YYYY-MM-DD HH:MM:SS"; nullopt when it is no date.
std::optional<std::string> IsoFromDateLiteral(std::string_view literal);

}  // namespace quellor::tagdll::sql
