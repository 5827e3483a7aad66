#include "report/message_box.h"

#include <string>

#include "platform/console.h"

namespace quellor {

void ShowMessageBox(std::string_view text) {
  WriteToConsole(ConsoleStream::kError, std::string(text) + "\n");
}

}  // namespace quellor
