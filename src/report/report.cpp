#include "report/report.h"

#include <unistd.h>

#include <cerrno>

#include "base/cp1252.h"
#include "report/report_channel.h"

namespace quellor {
namespace {

ScopedReportCapture* g_capture = nullptr;

std::string_view PrefixOf(int level) {
  switch (level) {
    case 1:
      return "WARNING - ";
    case 2:
      return "ERROR - ";
    default:
      return "";
  }
}

// One write per message, so lines of concurrent builds never interleave within a line.
void WriteConsoleLine(const std::string& line) {
  const std::string bytes = Cp1252ToUtf8(line) + "\n";
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // standard output is gone: nothing else can be told
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

std::string ReportedMessage::ConsoleLine() const {
  std::string line(PrefixOf(level));
  line += text;
  return line;
}

void Report(std::string_view text, int level, int flag) {
  ReportedMessage message{std::string(text), level, flag};
  if (g_capture != nullptr) {
    g_capture->messages_.push_back(std::move(message));
    return;
  }
  if (ReportWinActive() == 0) {
    WriteConsoleLine(message.ConsoleLine());
    return;
  }
  // The window gets warnings and errors with their prefix and flag, messages bare.
  switch (level) {
    case 1:
      ReportWin().ReportWarning(message.ConsoleLine(), flag);
      break;
    case 2:
      ReportWin().ReportError(message.ConsoleLine(), flag);
      break;
    default:
      ReportWin().ReportMsg(text);
      break;
  }
}

ScopedReportCapture::ScopedReportCapture() { g_capture = this; }
ScopedReportCapture::~ScopedReportCapture() { g_capture = nullptr; }

std::vector<std::string> ScopedReportCapture::lines() const {
  std::vector<std::string> out;
  for (const auto& message : messages_) out.push_back(message.ConsoleLine());
  return out;
}

}  // namespace quellor
