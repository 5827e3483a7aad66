// Builds beside other builds: a held application folder is waited for, a held file takes its
// "cannot be opened" path with its message, and two builds of one project started together
// both finish with the outputs a single build leaves. Synchronised through pipes and locks.
#include <gtest/gtest.h>

#include <string>

#include "build_machine.h"
#include "testing/background_process.h"
#include "testing/lock_holder.h"

namespace quellor {
namespace {

namespace fs = std::filesystem;
using testing::BuildMachine;
using testing::FileTree;

constexpr char kProject[] = "Plant";
constexpr std::int32_t kTags = 300;

class ConcurrentBuilds : public ::testing::Test {
 protected:
  ConcurrentBuilds() { machine_.AddGeneratedProject(kProject, kTags, 7); }

  fs::path AppFolder() const {
    return machine_.ProjectDir(kProject) / "FactorySuite" / "Clients" / "InTApps" / "App1";
  }
  testing::RunOptions Options() const {
    testing::RunOptions options;
    options.env = {{"QUELLOR_PREFIX", machine_.prefix().string()}, {"LC_ALL", "C"}};
    return options;
  }
  FileTree Outputs() const { return testing::WholeFileOutputs(machine_); }

  BuildMachine machine_;
};

TEST_F(ConcurrentBuilds, ABuildWaitsForTheApplicationFolderAnotherBuildHolds) {
  ASSERT_EQ(machine_.Build(kProject).exit_code, 0);
  const FileTree first = Outputs();
  testing::LockHolder holder(AppFolder());
  testing::BackgroundProcess build(testing::BinaryPath("quellor"),
                                   {BuildMachine::ProjectLine(kProject)}, Options());
  // The build's last line before it takes the folder's lock.
  std::string line;
  do {
    line = build.ReadOutputLine();
  } while (!line.empty() && !line.starts_with("Modifying existing InTouch application App1"));
  ASSERT_FALSE(line.empty()) << "the build ended without reaching the application folder";
  holder.Release();
  const testing::RunResult result = build.Wait();
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out.find("ERROR"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Created file"), std::string::npos) << result.out;
  EXPECT_EQ(Outputs(), first);
}

TEST_F(ConcurrentBuilds, AFileAnotherBuildHoldsIsReportedAndKept) {
  ASSERT_EQ(machine_.Build(kProject).exit_code, 0);
  const std::string app = "C:\\PROJECTS\\PLANT\\FactorySuite\\Clients\\InTApps\\App1\\";
  const struct {
    const char* file;
    std::string message;
    bool message_box;  // on standard error rather than in the build's report
  } cases[] = {
      {"DDE.CFG", "ERROR - Failed to create the access name data for InTouch application App1 \n",
       false},
      {"Tagname.X", "ERROR - Failed to open " + app + "Tagname.X\n", false},
      {"Tagnames.NDX", "ERROR - Failed to open " + app + "Tagnames.NDX\n", false},
      {"TagBrw.DAT", "Failed to load TagBrw.dat\n", true},
  };
  for (const auto& c : cases) {
    const std::string before = testing::ReadFile(AppFolder() / c.file);
    const testing::LockHolder holder(AppFolder() / c.file);
    const testing::RunResult result = machine_.Build(kProject);
    EXPECT_EQ(result.exit_code, 0) << c.file;
    const std::string& shown = c.message_box ? result.err : result.out;
    EXPECT_NE(shown.find(c.message), std::string::npos) << c.file << ":\n" << shown;
    EXPECT_EQ(testing::ReadFile(AppFolder() / c.file), before) << c.file;
  }
}

TEST_F(ConcurrentBuilds, TwoBuildsOfOneProjectStartedTogetherBothFinish) {
  BuildMachine single;
  single.AddGeneratedProject(kProject, kTags, 7);
  ASSERT_EQ(single.Build(kProject).exit_code, 0);
  FileTree want = testing::WholeFileOutputs(single);

  testing::BackgroundProcess one(testing::BinaryPath("quellor"),
                                 {BuildMachine::ProjectLine(kProject)}, Options());
  testing::BackgroundProcess two(testing::BinaryPath("quellor"),
                                 {BuildMachine::ProjectLine(kProject)}, Options());
  for (testing::BackgroundProcess* build : {&one, &two}) {
    const testing::RunResult result = build->Wait();
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out.find("ERROR"), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "");
  }
  // Tagname.X, Tagnames.NDX and DDE.CFG agree on record numbers; the other outputs are one
  // build's.
  EXPECT_EQ(testing::DictionaryByName(AppFolder()).size(),
            testing::DictionaryByName(single.drive() / fs::relative(AppFolder(), machine_.drive()))
                .size());
  FileTree got = Outputs();
  for (FileTree* tree : {&got, &want}) {
    std::erase_if(*tree, [](const auto& entry) {
      return entry.first.ends_with("DDE.CFG") || entry.first.ends_with("Tagnames.NDX");
    });
  }
  EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace quellor
