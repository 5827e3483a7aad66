// quellor-prefix: makes the folder that plays the Windows machine of a build (the prefix) and
// checks one. `create` writes what a build reads; `check` reads it back through the build's own
// code and says, for each key, file and link, where it was found, or what is missing and how to
// fix it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quellor::prefix_tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitIncomplete = 1;  // check: something is missing; create: not all made
inline constexpr int kExitUsage = 2;

// A drive letter and the host folder it maps to (absolute).
struct DriveMapping {
  char letter = 'c';  // lower case
  std::string host_dir;
};

// A host path made absolute from the working folder, in normal form, without a trailing slash;
// none for an empty one.
std::optional<std::string> AbsolutePath(std::string_view host_path);

// "C:=DIR" (any letter case; DIR made absolute); none when malformed.
std::optional<DriveMapping> ParseDriveMapping(std::string_view text);

// Makes the machine `prefix_dir` with `drives` (C: is the prefix's drive_c unless given):
// dosdevices links, the registry file, the HMI installation and AppList.INI folders and the
// shell application from `data_dir` (share/quellor). What exists already is kept. Returns the
// exit code.
int CreateMachine(const std::string& prefix_dir, std::span<const DriveMapping> drives,
                  const std::string& data_dir);

// Checks the machine of this process (QUELLOR_PREFIX, else $HOME/.quellor). Returns the exit
// code.
int CheckMachine();

// The shared data folder: share/quellor beside the installed programs, or its copy in the build
// tree; empty when neither holds the shell application.
std::string FindDataDir();

// One line of the tool's report: a tag ("made", "kept", "found", "MISSING", "note") in a column
// of its own, then the text (host text, UTF-8).
void Say(std::string_view tag, std::string_view text);

}  // namespace quellor::prefix_tool
