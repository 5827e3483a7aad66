#include "report/report_win.h"

#include "base/cp1252.h"
#include "platform/dispatch/local_server.h"

namespace quellor {

int CReportWin::Connect() {
  auto socket_path = dispatch::FindLocalServer("BuildWin.UBuildWin");
  if (!socket_path.ok()) return 0;
  auto remote = dispatch::RemoteDispatch::Connect(*socket_path);
  if (!remote.ok()) return 0;
  Disp.emplace(std::move(remote).value());
  // One name per look-up, in this order; a failed look-up leaves its id 0.
  const struct {
    const char16_t* name;
    std::int32_t* id;
  } methods[] = {
      {u"ReportMsg", &ReportMsgId},     {u"ReportWarning", &ReportWarningId},
      {u"ReportError", &ReportErrorId}, {u"BeginFile", &BeginFileId},
      {u"EndFile", &EndFileId},         {u"ShowMessages", &ShowMessagesId},
  };
  for (const auto& method : methods) (void)Disp->GetIdOfName(method.name, method.id);
  FlagArg = 2;
  TextArg.clear();
  return 1;
}

void CReportWin::Disconnect() { Disp.reset(); }

void CReportWin::Call(std::int32_t id, std::optional<std::string_view> text,
                      std::optional<int> flag) {
  if (!Disp) return;
  Params.clear();
  // Automation order: the last argument first, so the flag stands before the text.
  if (flag) {
    FlagArg = static_cast<std::int16_t>(*flag);
    Params.emplace_back(FlagArg);
  }
  if (text) {
    TextArg = Cp1252ToUtf16(*text);
    Params.emplace_back(TextArg);
  }
  (void)Disp->Invoke(id, Params);
  TextArg.clear();
}

void CReportWin::ReportMsg(std::string_view text) { Call(ReportMsgId, text, std::nullopt); }
void CReportWin::ReportWarning(std::string_view text, int flag) {
  Call(ReportWarningId, text, flag);
}
void CReportWin::ReportError(std::string_view text, int flag) { Call(ReportErrorId, text, flag); }
void CReportWin::BeginFile(std::string_view name) { Call(BeginFileId, name, std::nullopt); }
void CReportWin::EndFile() { Call(EndFileId, std::nullopt, std::nullopt); }

}  // namespace quellor
