// LookupTagServer: the access name through which a project tag of the instrument network is
// read, from the server computer the project gives for it (qFTTagServer).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/automation/variant.h"

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

// LookupTagServer for every top-level tag of one merge. The choice among the application's
// access names depends only on the server computer, and a project has few of them, so each
// server's choice (a scan of the application's access names) is made once. The access names
// must keep their servers, topics and IDs while the object lives (the merge only records
// points in them).
class TagServerLookup final {
 public:
  TagServerLookup(const CAccNames& access_names, std::span<const int> app_access_names)
      : access_names_(access_names), app_access_names_(app_access_names) {}

  std::int32_t operator()(std::string_view tag_name);
  // The same for a tag whose server computer is known already (none: 0).
  std::int32_t ForServer(const std::optional<std::string>& server);

 private:
  const CAccNames& access_names_;
  const std::span<const int> app_access_names_;
  std::unordered_map<std::string, int> by_server_;
};

// The server computer the project gives for `tag_name` (trimmed); none when it names none or
// the query cannot be prepared.
std::optional<std::string> TagServerOf(std::string_view tag_name);

// TagServerOf, telling also whether qFTTagServer could be prepared.
struct TagServerAnswer {
  bool prepared = false;
  std::optional<std::string> server;
};
TagServerAnswer AskTagServer(std::string_view tag_name);

// A server computer column's value as a server name: trimmed text; none for an empty, NULL or
// unconvertible value (or a missing column).
std::optional<std::string> ServerComputerOf(const VARIANT* value);

}  // namespace quellor
