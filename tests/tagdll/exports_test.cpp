// libtagdll.so shows the dynamic loader exactly its entry points, and nothing else.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "tagdll/tagdll.h"
#include "testing/run_binary.h"

namespace quellor::testing {
namespace {

TEST(Exports, LibraryDefinesExactlyTheEntryPoints) {
  const RunResult nm =
      RunBinary("/usr/bin/nm", {"-D", "--defined-only", BinaryPath("libtagdll.so").string()});
  ASSERT_EQ(nm.exit_code, 0) << nm.err;
  std::set<std::string> defined;
  std::istringstream lines(nm.out);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t name = line.find_last_of(' ');
    defined.insert(line.substr(name + 1));
  }
  const std::set<std::string> expected(kTdlEntryPointNames.begin(), kTdlEntryPointNames.end());
  EXPECT_EQ(expected.size(), 56u);
  EXPECT_EQ(defined, expected);
}

}  // namespace
}  // namespace quellor::testing
