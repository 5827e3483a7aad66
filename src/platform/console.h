// The console: the program's standard output and standard error. Texts are the program's
// Windows-1252 bytes; the console shows them in UTF-8.
#pragma once

#include <string_view>

namespace quellor {

enum class ConsoleStream { kOutput, kError };

// Writes `text` to the stream in one write when the stream takes it whole, so that the lines
// of builds running side by side never interleave within a line. A stream that is gone takes
// nothing further, and the program goes on: there is nowhere else to tell it.
void WriteToConsole(ConsoleStream stream, std::string_view text);

}  // namespace quellor
