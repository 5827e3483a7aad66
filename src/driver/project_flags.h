// The project-flags gate: whether the project wants this build at all.
#pragma once

namespace quellor {

// Reads "BuildFSTagBrowseFiles" from the first record of the saved query "qProjectFlags" of
// the attached project: true when the build is wanted (the flag is non-zero). A query that
// cannot be prepared, has no record, lacks the field or holds a non-boolean is reported as an
// error and counts as false; whenever the result is false the run is told that the build is
// not required.
[[nodiscard]] bool CheckProjectFlags();

}  // namespace quellor
