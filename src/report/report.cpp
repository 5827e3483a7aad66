#include "report/report.h"

#include "platform/console.h"
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

}  // namespace

std::string ReportedMessage::ConsoleLine() const {
  std::string line(PrefixOf(level));
  line += text;
  return line;
}

void Report(std::string_view text, int level, int flag) {
  if (level == 2) CountReportedError();
  ReportedMessage message{std::string(text), level, flag};
  if (g_capture != nullptr) {
    g_capture->messages_.push_back(std::move(message));
    return;
  }
  if (!ReportWinActive()) {
    // One write per message, so lines of concurrent builds never interleave within a line.
    WriteToConsole(ConsoleStream::kOutput, message.ConsoleLine() + "\n");
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
