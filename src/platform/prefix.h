// The machine: one host folder plays the part of the Windows machine the program expects
// (its registry files, its win.ini, its drive letters, its Windows folder).
#pragma once

#include <string>

namespace quellor {

// What chose the machine folder, for the messages that say where it was looked for.
enum class PrefixChoice {
  kNone,           // neither variable is set: no folder
  kQuellorPrefix,  // $QUELLOR_PREFIX
  kHome,           // $HOME/.quellor
};

struct PrefixLocation {
  std::string dir;  // empty for kNone
  PrefixChoice chosen_by = PrefixChoice::kNone;
};

// $QUELLOR_PREFIX (an empty value counts as unset; a relative one is taken from the working
// folder), else $HOME/.quellor. The folder need not exist; a missing one is an empty machine.
PrefixLocation LocatePrefix();

// LocatePrefix().dir: empty when neither variable is set, an empty machine as well.
std::string PrefixDir();

// Makes `dir` this process's machine, as QUELLOR_PREFIX=dir does: for a tool that takes the
// machine as an option. A registry loaded already is not read again (Env::Reset does that).
void UsePrefixDir(const std::string& dir);

}  // namespace quellor
