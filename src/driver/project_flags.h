// The project-flags gate: whether the project wants this build at all.
#pragma once

namespace quellor {

// Reads "BuildFSTagBrowseFiles" from the first record of the saved query "qProjectFlags" of
// the attached project. Non-zero (the flag's 16-bit value) when the build is wanted. A query
// that cannot be prepared, has no record, lacks the field or holds a non-boolean is reported
// as an error and counts as 0; whenever the result is 0 the run is told that the build is
// not required.
int CheckProjectFlags();

}  // namespace quellor
