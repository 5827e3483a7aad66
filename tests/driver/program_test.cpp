// The program behind main(): its own options, the strict exit code, and the missing machine
// named on standard error.
#include "driver/program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/ascii.h"
#include "driver/build_driver.h"
#include "driver/preview.h"
#include "report/report.h"
#include "run/run_state.h"
#include "testing/project_database.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Outcome {
  int exit_code = -1;
  std::vector<ReportedMessage> messages;
  std::string out;
  std::string err;
};

class Program : public ::testing::Test {
 protected:
  void TearDown() override { ResetRunState(); }

  Outcome Run(const std::vector<std::string>& args,
              std::string library_name = ProjectDb::kLibraryName) const {
    Outcome outcome;
    const ScopedReportCapture capture;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    outcome.exit_code = RunQuellor(args, std::move(library_name));
    outcome.out = ::testing::internal::GetCapturedStdout();
    outcome.err = ::testing::internal::GetCapturedStderr();
    outcome.messages = capture.messages();
    return outcome;
  }
  // A project whose build flag is false: its run reports no error.
  std::string MakeProject() const {
    testing::CreateProjectDatabase(project_.path() / "Project.mdb",
                                   "INSERT INTO ProjectFlags VALUES (0);");
    return project_.path().string();
  }

  testing::TempPrefix prefix_;
  testing::ScopedEnv locale_{"LC_ALL", "C"};
  testing::ScopedEnv strict_{"QUELLOR_STRICT", std::nullopt};
  testing::TempDir project_;
};

TEST_F(Program, AnswersHelpVersionAndMissingWordsWithoutABuild) {
  const struct {
    std::vector<std::string> args;
    int exit_code;
    bool usage_on_output;  // else on standard error
  } cases[] = {
      {{"--help"}, 0, true},
      {{"-h", "C:\\PROJ"}, 0, true},
      {{"/?"}, 0, true},
      {{}, 0, false},
      {{"--strict"}, 0, false},
      {{"--preview"}, 0, false},
      {{"--dry-run", "C:\\PROJ"}, 2, false},
      {{"C:\\PROJ", "--Strict=1"}, 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const Outcome outcome = Run(c.args);
    EXPECT_EQ(outcome.exit_code, c.exit_code);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_THAT(c.usage_on_output ? outcome.out : outcome.err, HasSubstr("Usage: quellor"));
    EXPECT_EQ(c.usage_on_output ? outcome.err : outcome.out, "");
  }
  EXPECT_THAT(Run({"--dry-run"}).err, StartsWith("quellor: unknown option --dry-run\nUsage:"));
  EXPECT_THAT(Run({"--help"}).out, HasSubstr("  2  with --strict: the build reported an error"));
  EXPECT_EQ(Run({"--version"}).out, "quellor " QUELLOR_VERSION "\n");
}

TEST_F(Program, OptionsNeverReachTheCommandLine) {
  const std::string project = MakeProject();
  const Outcome outcome = Run({"--strict", project, "--STRICT"});
  EXPECT_EQ(CmdLine(), ToUpperAscii(project));
  ASSERT_FALSE(outcome.messages.empty());
  EXPECT_EQ(outcome.messages[0].text, ToUpperAscii(project));
}

TEST_F(Program, StrictExitsWithTwoOnlyAfterAReportedError) {
  const std::string project = MakeProject();
  const struct {
    std::vector<std::string> args;
    const char* strict_variable;  // QUELLOR_STRICT, or nullptr
    int exit_code;
  } cases[] = {
      {{"C:\\NOWHERE"}, nullptr, 0},  // "Failed to attach to db"
      {{"--strict", "C:\\NOWHERE"}, nullptr, 2},
      {{"C:\\NOWHERE"}, "1", 2},
      {{"C:\\NOWHERE"}, "yes", 0},          // only 1 asks
      {{"--strict", project}, nullptr, 0},  // a build without an error
  };
  for (const auto& c : cases) {
    const testing::ScopedEnv strict("QUELLOR_STRICT",
                                    c.strict_variable == nullptr
                                        ? std::nullopt
                                        : std::optional<std::string>(c.strict_variable));
    EXPECT_EQ(Run(c.args).exit_code, c.exit_code) << ::testing::PrintToString(c.args);
  }
}

// --preview and QUELLOR_PREVIEW=1 (only 1) make the run a preview: the build's messages and
// exit code, and the last line on standard output saying that nothing was written.
TEST_F(Program, PreviewReportsTheBuildsMessagesAndEndsWithItsLine) {
  const std::string project = MakeProject();
  const Outcome build = Run({project});
  ASSERT_FALSE(build.messages.empty());
  const struct {
    std::vector<std::string> args;
    const char* preview_variable;  // QUELLOR_PREVIEW, or nullptr
    bool preview;
  } cases[] = {
      {{"--preview", project}, nullptr, true},
      {{project, "--PREVIEW"}, nullptr, true},
      {{project}, "1", true},
      {{project}, "yes", false},
      {{project}, "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const testing::ScopedEnv preview("QUELLOR_PREVIEW",
                                     c.preview_variable == nullptr
                                         ? std::nullopt
                                         : std::optional<std::string>(c.preview_variable));
    const Outcome outcome = Run(c.args);
    EXPECT_EQ(outcome.exit_code, build.exit_code);
    EXPECT_EQ(outcome.messages, build.messages);
    EXPECT_EQ(outcome.out, c.preview ? build.out + std::string(kNothingWrittenLine) : build.out);
  }
  EXPECT_EQ(Run({"--strict", "--preview", "C:\\NOWHERE"}).exit_code, 2);
}

TEST_F(Program, StandardErrorSaysWhereTheMissingMachineWasLookedFor) {
  const std::string project = MakeProject();
  const std::string missing = (prefix_.path() / "gone").string();
  {
    const testing::ScopedEnv prefix("QUELLOR_PREFIX", missing);
    EXPECT_EQ(Run({project}).err, "quellor: the machine folder " + missing +
                                      " (QUELLOR_PREFIX) does not exist: no registry, no drive "
                                      "letters; quellor-prefix create makes one\n");
  }
  const testing::ScopedEnv no_prefix("QUELLOR_PREFIX", std::nullopt);
  const testing::ScopedEnv home("HOME", missing);
  EXPECT_THAT(Run({project}).err,
              StartsWith("quellor: the machine folder " + missing +
                         "/.quellor ($HOME/.quellor, as QUELLOR_PREFIX is not set) does not "
                         "exist"));
  EXPECT_EQ(Run({"/REGSERVER"}).err, "");  // a run that ends at once says nothing
}

}  // namespace
}  // namespace quellor
