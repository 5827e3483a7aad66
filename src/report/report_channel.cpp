#include "report/report_channel.h"

#include <memory>

namespace quellor {
namespace {

struct ChannelState {
  CReportWin window;
  bool active = false;
  int errors_reported = 0;
};

std::unique_ptr<ChannelState>& State() {
  static std::unique_ptr<ChannelState> state = std::make_unique<ChannelState>();
  return state;
}

}  // namespace

CReportWin& ReportWin() { return State()->window; }
bool ReportWinActive() { return State()->active; }

void OpenReportChannel(std::optional<std::string_view> name) {
  State()->active = ReportWin().Connect();
  if (State()->active) ReportWin().BeginFile(name.value_or("Quellor"));
}

void CloseReportChannel() {
  if (!State()->active) return;
  ReportWin().EndFile();
  ReportWin().Disconnect();
}

void ResetReportChannel() { State() = std::make_unique<ChannelState>(); }

int ErrorsReported() { return State()->errors_reported; }
void CountReportedError() { ++State()->errors_reported; }

}  // namespace quellor
