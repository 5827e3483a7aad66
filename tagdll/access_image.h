// The SQLite image of a Microsoft Access project database. An Access file is never written:
// the import helper (quellor-import, a separate program, since the library that reads Access
// files is not hardened against hostile ones) copies its tables and saved queries into an
// SQLite file under the prefix, cache/access/, one image per Access file, and the library
// attaches that image. The image is reused while the Access file's size, modification time,
// inode and change time and the importer's version stay as they were when it was made.
//
// An import runs under a lock on the image (two builds never import at once) into a
// temporary file that is renamed into place, so a killed import leaves the old image or none.
// The helper runs under a watchdog: its crash or hang becomes an error, never a crashed build.
#pragma once

#include <chrono>
#include <string>

#include "base/status.h"

namespace quellor::tagdll {

// An import helper that writes no progress line for this long is taken to hang.
inline constexpr std::chrono::milliseconds kImportStallTimeout{30000};

// The host path of an up-to-date image of the Access file at `access_path` (a host path),
// importing it first when needed. Fails with one line that says why ("the Access file PATH
// cannot be read: ..."). Lines for the user (the file is open in Access) go to standard
// error as they happen.
Result<std::string> AccessImageOf(const std::string& access_path,
                                  std::chrono::milliseconds stall_timeout = kImportStallTimeout);

// Where an attachment that keeps nothing reads the Access file's tables: its image when that is
// up to date, else a fresh import into a temporary file in the system's temporary folder
// (outside the prefix and the project), which the caller removes as soon as it has read it.
// The cache is neither made nor changed.
struct AccessImageSource {
  std::string path;
  bool temporary = false;
};
Result<AccessImageSource> AccessImageForReading(
    const std::string& access_path, std::chrono::milliseconds stall_timeout = kImportStallTimeout);

}  // namespace quellor::tagdll
