#include "driver/preview.h"

#include <cstdlib>
#include <utility>

#include "driver/build_driver.h"
#include "platform/console.h"
#include "platform/env.h"
#include "platform/overlay_file_system.h"
#include "platform/process.h"

namespace quellor {
namespace {

void SayNothingWasWritten() { WriteToConsole(ConsoleStream::kOutput, kNothingWrittenLine); }

EndProcessHandler& HandlerBeforePreview() {
  static EndProcessHandler handler = nullptr;
  return handler;
}

// An old-format dictionary ends the process in the middle of the build; the last line comes
// all the same.
[[noreturn]] void EndPreview(int exit_code) {
  SayNothingWasWritten();
  HandlerBeforePreview()(exit_code);
  std::abort();  // handlers never return
}

// Puts EndPreview in place of the process's end while it lives.
class PreviewEnding final {
 public:
  PreviewEnding() { HandlerBeforePreview() = SetEndProcessHandler(EndPreview); }
  ~PreviewEnding() { SetEndProcessHandler(HandlerBeforePreview()); }
  PreviewEnding(const PreviewEnding&) = delete;
  PreviewEnding& operator=(const PreviewEnding&) = delete;
};

}  // namespace

int RunPreview(std::string_view command_line_tail, std::string library_name) {
  OverlayFileSystem layer(Env::Default().file_system());
  int code = 0;
  {
    const ScopedFileSystemOverride in_memory(layer);
    const PreviewEnding ending;
    code = RunBuild(command_line_tail, std::move(library_name), DatabaseChanges::kDiscarded);
  }
  SayNothingWasWritten();
  return code;
}

}  // namespace quellor
