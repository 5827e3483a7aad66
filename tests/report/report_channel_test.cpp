#include "report/report_channel.h"

#include <gtest/gtest.h>

#include "platform/env.h"
#include "report/report.h"
#include "testing/background_process.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {

// Registers a build window listening at `socket_path` in the machine's registry.
void RegisterBuildWindow(const testing::TempPrefix& prefix, const std::string& socket_path) {
  prefix.AddFile("buildwin.reg",
                 "REGEDIT4\r\n\r\n"
                 "[HKEY_CLASSES_ROOT\\BuildWin.UBuildWin\\CLSID]\r\n"
                 "@=\"{6A1D4E2B-0000-4000-8000-00000000B0B0}\"\r\n\r\n"
                 "[HKEY_CLASSES_ROOT\\CLSID\\{6A1D4E2B-0000-4000-8000-00000000B0B0}"
                 "\\LocalServer32]\r\n"
                 "@=\"" +
                     socket_path + "\"\r\n");
  Env::Default().Reset();
}

class ReportChannel : public ::testing::Test {
 protected:
  void TearDown() override {
    ResetReportChannel();
    Env::Default().Reset();
  }
  testing::TempPrefix prefix_;
};

TEST_F(ReportChannel, WithoutABuildWindowMessagesGoToStandardOutput) {
  ::testing::internal::CaptureStdout();
  OpenReportChannel("C:\\PROJ");
  Report("Quellor - Quellorant", 0, 0);
  Report("Failed to attach to db", 2, 1);
  CloseReportChannel();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Quellor - Quellorant\nERROR - Failed to attach to db\n");
  EXPECT_FALSE(ReportWinActive());
}

TEST_F(ReportChannel, ARegisteredWindowThatDoesNotListenLeavesTheConsole) {
  RegisterBuildWindow(prefix_, prefix_.path().string() + "/nobody");
  ::testing::internal::CaptureStdout();
  OpenReportChannel(std::nullopt);
  Report("still here", 0, 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "still here\n");
}

TEST_F(ReportChannel, TheBuildWindowGetsBeginFileEveryMessageAndEndFile) {
  const std::string socket_path = prefix_.path().string() + "/bw";
  testing::BackgroundProcess window(testing::BinaryPath("buildwin"), {socket_path});
  ASSERT_EQ(window.ReadErrorLine(), "buildwin: listening on " + socket_path);
  RegisterBuildWindow(prefix_, socket_path);

  ::testing::internal::CaptureStdout();
  OpenReportChannel("C:\\PROJ\\PROJECT.MDB");
  EXPECT_TRUE(ReportWinActive());
  Report("C:\\PROJ\\PROJECT.MDB", 0, 1);
  Report("Failed to open X", 2, 1);
  Report("AppPath too long", 1, 0);
  Report(
      "level seven, 5 \xB0"
      "C, 100%",
      7, 3);
  CloseReportChannel();
  Report("after the end", 0, 0);  // the channel is closed: nothing further is reported
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");

  const testing::RunResult result = window.Wait();
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out,
            "BeginFile\tC:\\PROJ\\PROJECT.MDB\n"
            "ReportMsg\tC:\\PROJ\\PROJECT.MDB\n"
            "ReportError\t1\tERROR - Failed to open X\n"
            "ReportWarning\t0\tWARNING - AppPath too long\n"
            "ReportMsg\tlevel seven, 5 \u00B0C, 100%\n"
            "EndFile\n");
}

TEST_F(ReportChannel, OpeningWithoutANameBeginsTheQuellorSection) {
  const std::string socket_path = prefix_.path().string() + "/bw";
  testing::BackgroundProcess window(testing::BinaryPath("buildwin"), {socket_path});
  ASSERT_EQ(window.ReadErrorLine(), "buildwin: listening on " + socket_path);
  RegisterBuildWindow(prefix_, socket_path);
  OpenReportChannel(std::nullopt);
  CloseReportChannel();
  EXPECT_EQ(window.Wait().out, "BeginFile\tQuellor\nEndFile\n");
}

}  // namespace
}  // namespace quellor
