// Every program of the installation answers --help and --version, and refuses an option it
// does not know with its usage and exit code 2.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "testing/run_binary.h"

namespace quellor {
namespace {

using testing::BinaryPath;
using ::testing::HasSubstr;
using testing::RunBinary;
using testing::RunResult;
using ::testing::StartsWith;

TEST(ToolOptions, EachToolAnswersHelpAndVersionAndRefusesAnUnknownOption) {
  for (const char* tool : {"quellor-dump", "buildwin", "quellor-prefix", "quellor-import"}) {
    SCOPED_TRACE(tool);
    const RunResult help = RunBinary(BinaryPath(tool), {"--help"});
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_THAT(help.out, StartsWith(std::string("usage: ") + tool));
    EXPECT_THAT(help.out, HasSubstr("2 bad usage"));
    const RunResult version = RunBinary(BinaryPath(tool), {"--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_THAT(version.out, StartsWith(std::string(tool) + " " QUELLOR_VERSION));
    const RunResult unknown = RunBinary(BinaryPath(tool), {"--frobnicate"});
    EXPECT_EQ(unknown.exit_code, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_THAT(unknown.err, HasSubstr("usage: "));
  }
}

}  // namespace
}  // namespace quellor
