// The refusal of a construct Access has and the translation does not carry: one line that
// names it, "<construct> is not carried", as the library writes it for the query.
#pragma once

#include <string>

#include "base/status.h"

namespace quellor::tagdll::sql {

inline Status NotCarried(const std::string& construct) {
  return Status::Unsupported(construct + " is not carried");
}

}  // namespace quellor::tagdll::sql
