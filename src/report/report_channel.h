// The report channel of a run: opened once near the start, closed once at the end. While the
// build window is connected every Report() becomes one call on it, between one BeginFile for
// the whole run and one EndFile; otherwise messages go to standard output.
#pragma once

#include <string_view>

#include "report/report_win.h"

namespace quellor {

// The channel's state (one per process): the window connection, and 1 while messages go to
// the build window. After closing, the flag stays 1 and the connection is gone, so nothing
// further is reported.
CReportWin& ReportWin();
int ReportWinActive();

// Connects to the build window if there is one, and opens the run's section with
// BeginFile(name), or BeginFile("Quellor") when name is null.
void OpenReportChannel(const char* name);
// EndFile and disconnect, when the window was connected.
void CloseReportChannel();
// Forgets everything a previous run left (the connection, the flag), so a run can start anew
// in the same process.
void ResetReportChannel();

}  // namespace quellor
