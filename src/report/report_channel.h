// The report channel of a run: opened once near the start, closed once at the end. While the
// build window is connected every Report() becomes one call on it, between one BeginFile for
// the whole run and one EndFile; otherwise messages go to standard output.
#pragma once

#include <optional>
#include <string_view>

#include "report/report_win.h"

namespace quellor {

// The channel's state (one per process): the window connection, and whether messages go to
// the build window. After closing, that stays true and the connection is gone, so nothing
// further is reported.
CReportWin& ReportWin();
bool ReportWinActive();

// Connects to the build window if there is one, and opens the run's section with
// BeginFile(name), or BeginFile("Quellor") without a name.
void OpenReportChannel(std::optional<std::string_view> name);
// EndFile and disconnect, when the window was connected.
void CloseReportChannel();
// Forgets everything a previous run left (the connection, the flag, the error count), so a run
// can start anew in the same process.
void ResetReportChannel();

// The errors (level 2) reported since the last reset, wherever they went: what --strict reads.
int ErrorsReported();
// Counts one more; Report() calls it for every error.
void CountReportedError();

}  // namespace quellor
