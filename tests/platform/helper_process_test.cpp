#include "platform/helper_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "testing/status_matchers.h"

namespace quellor {
namespace {

using namespace std::chrono_literals;

Result<HelperOutcome> RunShell(const std::string& script, std::chrono::milliseconds stall,
                               std::vector<std::string>* lines = nullptr) {
  return RunHelper({"/bin/sh", "-c", script}, stall, [&](std::string_view line) {
    if (lines != nullptr) lines->emplace_back(line);
  });
}

TEST(HelperProcess, TellsHowTheHelperEndedAndWhatItSaidLast) {
  using End = HelperOutcome::End;
  const struct {
    const char* script;
    End end;
    int code;
    const char* last_line;
  } cases[] = {
      {"echo one >&2; printf 'two\\r\\n' >&2; exit 3", End::kExited, 3, "two"},
      {"printf 'no line end' >&2", End::kExited, 0, "no line end"},
      {"echo before >&2; kill -SEGV $$", End::kSignalled, SIGSEGV, "before"},
      {"echo start >&2; exec sleep 30", End::kStalled, 0, "start"},
  };
  for (const auto& c : cases) {
    const Result<HelperOutcome> outcome = RunShell(c.script, 300ms);
    ASSERT_TRUE(outcome.ok()) << c.script;
    EXPECT_EQ(outcome->end, c.end) << c.script;
    EXPECT_EQ(outcome->code, c.code) << c.script;
    EXPECT_EQ(outcome->last_line, c.last_line) << c.script;
  }
}

TEST(HelperProcess, ProgressLinesKeepASlowHelperAlive) {
  std::vector<std::string> lines;
  const Result<HelperOutcome> outcome =
      RunShell("for i in 1 2 3 4 5 6; do echo $i >&2; sleep 0.1; done", 400ms, &lines);
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(outcome->end, HelperOutcome::End::kExited);
  EXPECT_EQ(lines, (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
}

TEST(HelperProcess, TheHelperInheritsNoDescriptorAndNoInput) {
  const int held = open("/dev/null", O_RDONLY);  // not close-on-exec: a fork would pass it on
  ASSERT_GE(held, 3);
  std::vector<std::string> lines;
  const Result<HelperOutcome> outcome = RunShell(
      "test -e /proc/$$/fd/" + std::to_string(held) +
          " && echo inherited >&2; read x && echo read input >&2; echo output; echo done >&2",
      5s, &lines);
  close(held);
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(lines, (std::vector<std::string>{"done"}));
}

TEST(HelperProcess, AProgramThatCannotStartFails) {
  EXPECT_FALSE(RunHelper({"/nonexistent/helper"}, 1s).ok());
  EXPECT_FALSE(RunHelper({}, 1s).ok());
}

}  // namespace
}  // namespace quellor
