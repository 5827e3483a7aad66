// quellor: the build step. One command line names the project; the exit code is 0 unless an
// old-format tag dictionary ended the run.
#include <span>

#include "driver/build_driver.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  // A write beyond the file-size limit fails like any other write instead of ending the run.
  quellor::IgnoreFileSizeSignal();
  quellor::KeepFreedMemoryForReuse();
  const auto args = std::span<const char* const>(argv, static_cast<std::size_t>(argc));
  return quellor::RunBuild(quellor::CommandLineTail(args));
}
