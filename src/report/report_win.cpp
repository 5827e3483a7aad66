#include "report/report_win.h"

#include "base/cp1252.h"
#include "platform/dispatch/local_server.h"

namespace quellor {

bool CReportWin::Connect() {
  auto socket_path = dispatch::FindLocalServer("BuildWin.UBuildWin");
  if (!socket_path.ok()) return false;
  auto remote = dispatch::RemoteDispatch::Connect(*socket_path);
  if (!remote.ok()) return false;
  dispatch_.emplace(std::move(remote).value());
  // One name per look-up, in this order; a failed look-up leaves its id 0.
  const struct {
    const char16_t* name;
    std::int32_t* id;
  } methods[] = {
      {u"ReportMsg", &report_msg_id_},     {u"ReportWarning", &report_warning_id_},
      {u"ReportError", &report_error_id_}, {u"BeginFile", &begin_file_id_},
      {u"EndFile", &end_file_id_},         {u"ShowMessages", &show_messages_id_},
  };
  for (const auto& method : methods) (void)dispatch_->GetIdOfName(method.name, method.id);
  flag_arg_ = 2;
  text_arg_.clear();
  return true;
}

void CReportWin::Disconnect() { dispatch_.reset(); }

void CReportWin::Call(std::int32_t id, std::optional<std::string_view> text,
                      std::optional<int> flag) {
  if (!dispatch_) return;
  params_.clear();
  // Automation order: the last argument first, so the flag stands before the text.
  if (flag) {
    flag_arg_ = static_cast<std::int16_t>(*flag);
    params_.emplace_back(flag_arg_);
  }
  if (text) {
    text_arg_ = Cp1252ToUtf16(*text);
    params_.emplace_back(text_arg_);
  }
  (void)dispatch_->Invoke(id, params_);
  text_arg_.clear();
}

void CReportWin::ReportMsg(std::string_view text) { Call(report_msg_id_, text, std::nullopt); }
void CReportWin::ReportWarning(std::string_view text, int flag) {
  Call(report_warning_id_, text, flag);
}
void CReportWin::ReportError(std::string_view text, int flag) {
  Call(report_error_id_, text, flag);
}
void CReportWin::BeginFile(std::string_view name) { Call(begin_file_id_, name, std::nullopt); }
void CReportWin::EndFile() { Call(end_file_id_, std::nullopt, std::nullopt); }

}  // namespace quellor
