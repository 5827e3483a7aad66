// The statement of a saved query in Access SQL, written from its parts: everything but the
// PARAMETERS clause, the owner-access option and the closing ";" (query_decoder.h adds them).
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "tagdll/access/query_decoder.h"
#include "tagdll/access/query_parts.h"

namespace quellor::tagdll::access {

// Access SQL's line break.
inline constexpr std::string_view kNewline = "\r\n";

// Select flags (attribute 3).
inline constexpr int kAllColumnsFlag = 0x01;
inline constexpr int kDistinctFlag = 0x02;
inline constexpr int kOwnerAccessFlag = 0x04;
inline constexpr int kDistinctRowFlag = 0x08;
inline constexpr int kTopFlag = 0x10;
inline constexpr int kPercentFlag = 0x20;

// Fails (kCorruption) with the reason; a pass-through query is kUnsupported.
Result<std::string> WriteStatement(const QueryParts& parts, QueryType type);

}  // namespace quellor::tagdll::access
