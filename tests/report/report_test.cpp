#include "report/report.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

TEST(ReportConsole, PrefixesWarningsAndErrorsAndTreatsOtherLevelsAsMessages) {
  const struct {
    int level;
    std::string line;
  } cases[] = {
      {0, "Created file A"}, {1, "WARNING - Created file A"}, {2, "ERROR - Created file A"},
      {7, "Created file A"}, {-1, "Created file A"},
  };
  for (const auto& c : cases) {
    ::testing::internal::CaptureStdout();
    Report("Created file A", c.level, 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.line + "\n") << c.level;
  }
}

TEST(ReportConsole, WritesPercentSignsUnchangedAndWindows1252AsUtf8) {
  ::testing::internal::CaptureStdout();
  Report(
      "100% of %s in \xB0"
      "C",
      0, 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "100% of %s in \u00B0C\n");
}

TEST(ScopedReportCapture, RecordsMessagesWithLevelAndFlagInsteadOfPrinting) {
  ::testing::internal::CaptureStdout();
  {
    ScopedReportCapture capture;
    Report("first");
    Report("second", 2, 1);
    EXPECT_EQ(capture.messages(),
              (std::vector<ReportedMessage>{{"first", 0, 0}, {"second", 2, 1}}));
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"first", "ERROR - second"}));
  }
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

}  // namespace
}  // namespace quellor
