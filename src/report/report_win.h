// CReportWin: the connection to the build window, the automation object "BuildWin.UBuildWin"
// that collects the messages of every build step. Method ids are looked up once when
// connecting; each call sets the shared argument block and invokes by id, ignoring the
// outcome (a message the window does not take is lost, and the build goes on).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/dispatch/remote_dispatch.h"

namespace quellor {

class CReportWin final {
 public:
  CReportWin() = default;
  CReportWin(const CReportWin&) = delete;
  CReportWin& operator=(const CReportWin&) = delete;

  // Whether the build window was found and connected.
  [[nodiscard]] bool Connect();
  void Disconnect();

  void ReportMsg(std::string_view text);
  void ReportWarning(std::string_view text, int flag);
  void ReportError(std::string_view text, int flag);
  void BeginFile(std::string_view name);
  void EndFile();

 private:
  // Places the text and the flag as the call needs them and invokes by id. Texts are
  // converted from Windows-1252 to UTF-16 whole.
  void Call(std::int32_t id, std::optional<std::string_view> text, std::optional<int> flag);

  // The argument block, reused by every call: the flag (a 16-bit integer) and the text.
  std::int16_t flag_arg_ = 2;
  std::u16string text_arg_;
  std::vector<dispatch::Argument> params_;

  std::int32_t end_file_id_ = 0;
  std::int32_t show_messages_id_ = 0;  // looked up, never called
  std::int32_t begin_file_id_ = 0;
  std::int32_t report_error_id_ = 0;
  std::int32_t report_warning_id_ = 0;
  std::int32_t report_msg_id_ = 0;
  std::optional<dispatch::RemoteDispatch> dispatch_;
};

}  // namespace quellor
