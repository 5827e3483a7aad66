#include "report/message_box.h"

#include <unistd.h>

#include <cerrno>
#include <string>

#include "base/cp1252.h"

namespace quellor {

void ShowMessageBox(std::string_view text) {
  const std::string line = Cp1252ToUtf8(text) + "\n";
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = write(STDERR_FILENO, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace quellor
