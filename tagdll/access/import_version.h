// The version of the import's output. Raise it whenever the import writes a different
// database for the same Access file (a type, a value's form, the decoded SQL, the schema):
// a cache of imported files keys on it, and imports again when it changes.
#pragma once

namespace quellor::tagdll::access {

inline constexpr int kImportVersion = 2;

}  // namespace quellor::tagdll::access
