// The few facts about processes the platform needs: our own id, whether another one still
// runs (to tell a dead build's leftovers from a live build's work), and the file-size signal.
#pragma once

namespace quellor {

int CurrentProcessId();

// True while a process with this id exists (also when it belongs to another user).
bool ProcessExists(int pid);

// A write beyond the file-size limit then fails with EFBIG, taking the program's failed-write
// path, instead of ending the process. Called first thing by the program's entry.
void IgnoreFileSizeSignal();

}  // namespace quellor
