// LookupTagServer: the access name through which a project tag of the instrument network is
// read, from the server computer the project gives for it (qFTTagServer).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quellor {

class CAccNames;

// The DDE Source ID of the best "PelnetData" access name of `app_access_names` (positions in
// `access_names`) for the computer serving `tag_name`; 0 when the project names no server,
// the query cannot be prepared or no access name fits. Reports nothing.
//
// Runs once per top-level tag: the library keeps the prepared statement of the query's text,
// so a lookup binds and steps a cached statement and parses no SQL.
std::int32_t LookupTagServer(std::string_view tag_name, const CAccNames& access_names,
                             std::span<const int> app_access_names);

}  // namespace quellor
