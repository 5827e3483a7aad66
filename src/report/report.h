// Report: the one way out for every progress line, warning and error of a build.
//
// Levels: 0 message, 1 warning ("WARNING - "), 2 error ("ERROR - "); any other level counts
// as 0. The flag travels with warnings and errors to the build window; errors normally pass
// 1, messages and warnings 0. Callers format the finished text first (base/format.h); the
// channel adds only the prefix (and, on the console, the line end), and never cuts a text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quellor {

void Report(std::string_view text, int level = 0, int flag = 0);

// One message as Report received it.
struct ReportedMessage {
  std::string text;
  int level = 0;
  int flag = 0;

  // The line as the console shows it: the level's prefix, then the text.
  std::string ConsoleLine() const;
  friend bool operator==(const ReportedMessage&, const ReportedMessage&) = default;
};

// While one lives, Report() records every message here instead of delivering it, so that a
// test can check the exact messages of the code it runs in-process. Not nestable.
class ScopedReportCapture final {
 public:
  ScopedReportCapture();
  ~ScopedReportCapture();
  ScopedReportCapture(const ScopedReportCapture&) = delete;
  ScopedReportCapture& operator=(const ScopedReportCapture&) = delete;

  const std::vector<ReportedMessage>& messages() const { return messages_; }
  // The console lines of the messages, in order.
  std::vector<std::string> lines() const;
  void Clear() { messages_.clear(); }

 private:
  friend void Report(std::string_view, int, int);
  std::vector<ReportedMessage> messages_;
};

}  // namespace quellor
