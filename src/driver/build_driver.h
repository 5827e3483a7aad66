// The top level of one build: the command line in, the exit code out. Everything the run
// does happens between these two.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "projectdb/project_db.h"

namespace quellor {

// The command-line tail as the program's entry receives it on this host: the words of the
// command line (the arguments after the program's name, less its own options) joined by single
// blanks, from UTF-8 to the program's Windows-1252.
std::string CommandLineTail(std::span<const std::string> words);

// Forgets everything a previous run left: the run state returns to its initial values, the
// build-window connection is dropped, the project-database library is unloaded (and
// `library_name` is bound next, with `changes`), and the machine's registry is read afresh at
// its next use.
void ResetRunState(std::string library_name = ProjectDb::kLibraryName,
                   DatabaseChanges changes = DatabaseChanges::kKept);

// Runs one build for the command-line tail and returns the exit code (0 on every path the
// driver knows). The run state is reset first, so a process may run several builds; the
// project-database library is loaded as `library_name`, and what the build changes in the
// project database is kept or discarded as `changes` says.
//
// The sequence: trim and upper-case the line; end silently on "/REGSERVER", "/UNREGSERVER" or
// an empty line; split it; open the report channel with field 0; report the banner; derive the
// project's paths; read ufolder.ini (a one-field line only); attach to the project database;
// pass the project-flags gate; build every client application; release the database; close
// the channel. Standard error says what the report has no room for: that the machine folder is
// missing, and why the library could not be loaded.
int RunBuild(std::string_view command_line_tail, std::string library_name = ProjectDb::kLibraryName,
             DatabaseChanges changes = DatabaseChanges::kKept);

}  // namespace quellor
