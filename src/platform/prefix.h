// The machine: one host folder plays the part of the Windows machine the program expects
// (its registry files, its win.ini, its drive letters, its Windows folder).
#pragma once

#include <string>

namespace quellor {

// $QUELLOR_PREFIX (an empty value counts as unset; a relative one is taken from the working
// folder), else $HOME/.quellor. Empty when neither is set: an empty machine. The folder need
// not exist; a missing one is an empty machine as well.
std::string PrefixDir();

}  // namespace quellor
