// quellor: the build step. One command line names the project; its own options come first
// (program.h).
#include <string>
#include <vector>

#include "driver/program.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  // A write beyond the file-size limit fails like any other write instead of ending the run.
  quellor::IgnoreFileSizeSignal();
  quellor::KeepFreedMemoryForReuse();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return quellor::RunQuellor(args);
}
