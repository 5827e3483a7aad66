// The few facts about processes the platform needs: our own id, whether another one still
// runs (to tell a dead build's leftovers from a live build's work), and the file-size signal.
#pragma once

#include <cstdint>
#include <string>

namespace quellor {

int CurrentProcessId();

// The permission bits that new files and folders lose (the process's file-mode mask).
std::uint32_t FileModeMask();

// The folder of the running program's file, symbolic links resolved (however it was started:
// by a path, or found on the PATH); empty when the system cannot tell.
std::string CurrentProgramFolder();

// True while a process with this id exists (also when it belongs to another user).
bool ProcessExists(int pid);

// A write beyond the file-size limit then fails with EFBIG, taking the program's failed-write
// path, instead of ending the process. Called first thing by the program's entry.
void IgnoreFileSizeSignal();

// Large blocks come from the heap and freed memory stays there, instead of each block above
// 32 MB being mapped on its own and unmapped when freed: the dictionaries of a build's
// applications take up to 60 MB of records one after another, and each would otherwise fault
// its pages in and zero them anew. Called by the program's entry.
void KeepFreedMemoryForReuse();

// Ends the process at once with `exit_code`, standard output flushed first. The one way the
// program ends early (an old-format tag dictionary); a test may put another handler in place,
// which must not return either.
[[noreturn]] void EndProcess(int exit_code);
using EndProcessHandler = void (*)(int exit_code);
// Returns the handler that was in place.
EndProcessHandler SetEndProcessHandler(EndProcessHandler handler);

}  // namespace quellor
