#include <unistd.h>

#include <string>

#include "base/cp1252.h"
#include "platform/console.h"
#include "platform/retry.h"

namespace quellor {

void WriteToConsole(ConsoleStream stream, std::string_view text) {
  const int fd = stream == ConsoleStream::kOutput ? STDOUT_FILENO : STDERR_FILENO;
  const std::string bytes = Cp1252ToUtf8(text);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written =
        RetryOnInterrupt([&] { return write(fd, bytes.data() + done, bytes.size() - done); });
    if (written <= 0) return;
    done += static_cast<std::size_t>(written);
  }
}

}  // namespace quellor
