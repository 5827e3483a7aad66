#include "report/report_channel.h"

#include <memory>

namespace quellor {
namespace {

struct ChannelState {
  CReportWin window;
  int active = 0;
};

std::unique_ptr<ChannelState>& State() {
  static std::unique_ptr<ChannelState> state = std::make_unique<ChannelState>();
  return state;
}

}  // namespace

CReportWin& ReportWin() { return State()->window; }
int ReportWinActive() { return State()->active; }

void OpenReportChannel(const char* name) {
  State()->active = ReportWin().Connect();
  if (State()->active == 1) ReportWin().BeginFile(name != nullptr ? name : "Quellor");
}

void CloseReportChannel() {
  if (State()->active == 0) return;
  ReportWin().EndFile();
  ReportWin().Disconnect();
}

void ResetReportChannel() { State() = std::make_unique<ChannelState>(); }

}  // namespace quellor
