// A small order-processing database for the translator's tests: tables shaped like those of
// the classic Access sample (its tables' names and columns, declared as the import of an
// Access file declares them: a table with a primary key is WITHOUT ROWID), a few rows each,
// chosen so that every saved query of the sample finds rows, some rows and none. Plus Words,
// whose text is not COLLATE NOCASE and whose rows only SQLite's row ids tell apart.
#pragma once

namespace quellor::testing {

extern const char kSampleOrdersSql[];

}  // namespace quellor::testing
