// Builds ended abruptly at points spread over a generated project's build (the kill hook of
// platform/crash_point.h): every file the build replaces whole is its old or its new content,
// never torn, and the builds after each kill finish as an uninterrupted one does; a copy of the
// shell application killed at any point is made again by the next build.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "build_machine.h"
#include "platform/crash_point.h"
#include "platform/env.h"
#include "platform/shell.h"
#include "sanitized.h"
#include "testing/faulty_file_system.h"
#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using testing::BuildMachine;
using testing::FaultPoint;
using testing::FaultyFileSystem;
using testing::FileTree;
using testing::kSanitized;

constexpr std::int32_t kTags = kSanitized ? 2000 : 20000;
constexpr int kKills = kSanitized ? 5 : 24;
constexpr std::uint32_t kSeed = 13;
constexpr char kProject[] = "Gen";
constexpr char kApp[] = "Projects/Gen/FactorySuite/Clients/InTApps/App1";

// The file service's counted calls (writes, renames, syncs) of one uninterrupted in-process
// build of the project on `machine`.
int CountedCallsOfABuild(const BuildMachine& machine, std::vector<std::string>& lines) {
  FaultyFileSystem counter(HostFileSystem());
  const ScopedFileSystemOverride use(counter);
  lines = machine.BuildInProcess(kProject);
  return counter.count(FaultPoint::kWrite) + counter.count(FaultPoint::kRename) +
         counter.count(FaultPoint::kSync);
}

std::string Describe(const std::optional<std::string>& bytes) {
  return bytes ? std::to_string(bytes->size()) + " bytes" : "missing";
}

std::optional<std::string> Find(const FileTree& tree, const std::string& path) {
  const auto it = tree.find(path);
  return it == tree.end() ? std::nullopt : std::optional(it->second);
}

// A new application folder is filled with the shell application's files first, so a file
// killed builds leave may also be the shell's own.
bool IsShellCopy(const std::optional<std::string>& now, const std::string& path,
                 const FileTree& shell) {
  const auto copied = shell.find(std::filesystem::path(path).filename().string());
  return now && copied != shell.end() && copied->second == *now;
}

// Every whole-file output after the kill is what it was before the killed build, or what an
// uninterrupted build from the same state leaves (missing counts as a content), or the shell
// application's file.
void ExpectOldOrNew(const FileTree& before, const FileTree& finished, const FileTree& killed,
                    const FileTree& shell, const std::string& where) {
  std::set<std::string> paths;
  for (const FileTree* tree : {&before, &finished, &killed}) {
    for (const auto& [path, bytes] : *tree) {
      if (testing::IsWholeFileOutput(path)) paths.insert(path);
    }
  }
  for (const std::string& path : paths) {
    const auto now = Find(killed, path);
    const auto old = Find(before, path);
    EXPECT_TRUE(now == old || now == Find(finished, path) || IsShellCopy(now, path, shell))
        << where << ": " << path << " is torn: " << Describe(now) << ", was " << Describe(old)
        << ", a whole build leaves " << Describe(Find(finished, path));
  }
}

bool HasError(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (line.find("ERROR") != std::string::npos) return true;
  }
  return false;
}

TEST(CrashSafety, KilledBuildsLeaveWholeFilesOldOrNewAndTheNextBuildFinishes) {
  const BuildMachine machine;    // the builds that are killed
  const BuildMachine reference;  // an uninterrupted build from each state a kill left
  machine.AddGeneratedProject(kProject, kTags, kSeed);
  const FileTree shell = testing::ReadTree(machine.drive() / "Corvane" / "InTouchShell");
  std::mt19937 random(kSeed);
  int survived = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    reference.CopyDriveFrom(machine);
    std::vector<std::string> lines;
    const int calls = CountedCallsOfABuild(reference, lines);
    EXPECT_FALSE(HasError(lines)) << "the build after kill " << kill << " failed";
    ASSERT_GT(calls, 0);
    if (kill == 0) std::cout << "counted calls of a first build: " << calls << "\n";
    // The kill-th of kKills equal slices of the build's calls, a point drawn within it.
    const int from = calls * kill / kKills;
    const int width = std::max(1, calls * (kill + 1) / kKills - from);
    const int point = from + 1 + static_cast<int>(random() % static_cast<unsigned>(width));
    const std::string where =
        "kill at call " + std::to_string(point) + " of " + std::to_string(calls);

    const FileTree before = testing::ReadTree(machine.drive());
    const testing::RunResult result =
        machine.Build(kProject, {{"QUELLOR_CRASH_AT", std::to_string(point)}});
    ASSERT_EQ(result.exit_code, kCrashExitCode) << where << "\n" << result.out << result.err;
    ExpectOldOrNew(before, testing::ReadTree(reference.drive()), testing::ReadTree(machine.drive()),
                   shell, where);
    if (!HasFailure()) ++survived;
  }
  EXPECT_EQ(survived, kKills);
  std::cout << "kills survived with nothing torn: " << survived << " of " << kKills << "\n";

  const testing::RunResult last = machine.Build(kProject);
  EXPECT_EQ(last.exit_code, 0);
  EXPECT_EQ(last.out.find("ERROR"), std::string::npos) << last.out;
  // Once more, so that the tags the last build added get the alarm group repair too.
  ASSERT_EQ(machine.Build(kProject).exit_code, 0);
  // The dictionary agrees, by tag name, with that of builds never interrupted (the load's
  // repairs may have renumbered records), and the files beside it agree with it; every other
  // whole-file output is what that build writes.
  const BuildMachine clean;
  clean.AddGeneratedProject(kProject, kTags, kSeed);
  // Built twice: the second load gives every tag without an alarm group the "$System" one.
  ASSERT_EQ(clean.Build(kProject).exit_code, 0);
  ASSERT_EQ(clean.Build(kProject).exit_code, 0);
  const std::filesystem::path app =
      std::filesystem::path("Projects") / kProject / "FactorySuite/Clients/InTApps/App1";
  const auto want_tags = testing::DictionaryByName(clean.drive() / app);
  EXPECT_GE(want_tags.size(), static_cast<std::size_t>(kTags));
  const auto got_tags = testing::DictionaryByName(machine.drive() / app);
  EXPECT_EQ(got_tags.size(), want_tags.size());
  int differences = 0;
  for (const auto& [name, entry] : want_tags) {
    const auto it = got_tags.find(name);
    const std::string got_entry = it == got_tags.end() ? "missing" : it->second;
    if (got_entry != entry && ++differences <= 5) {
      ADD_FAILURE() << name << ": " << got_entry << "\n  a whole build gives: " << entry;
    }
  }
  EXPECT_EQ(differences, 0);
  const FileTree want = testing::WholeFileOutputs(clean);
  const FileTree got = testing::WholeFileOutputs(machine);
  ASSERT_EQ(testing::WholeFileOutputs(clean).size(), got.size());
  for (const auto& [path, bytes] : want) {
    if (path.ends_with("DDE.CFG") || path.ends_with("Tagnames.NDX")) continue;  // by number
    EXPECT_EQ(Find(got, path), bytes) << path;
  }
}

// The file service's counted calls of the copy that fills a new application folder of
// `machine` with its shell application.
int CountedCallsOfTheShellCopy(const BuildMachine& machine) {
  const testing::TempDir scratch;
  FaultyFileSystem counter(HostFileSystem());
  const ScopedFileSystemOverride use(counter);
  const std::string shell = (machine.drive() / "Corvane" / "InTouchShell").string();
  EXPECT_TRUE(CopyFolderEntries(scratch.Join("App1"), shell, "*.*", "tagname.x").ok());
  return counter.count(FaultPoint::kWrite) + counter.count(FaultPoint::kRename) +
         counter.count(FaultPoint::kSync);
}

// The copy comes first in a new application's build, so the first calls of the build are the
// copy's. Killed at each of them, the next build copies again (the folder holds no Tagname.X,
// which the copy writes last) and leaves the folder as an uninterrupted build does, with no
// temporary file of the killed copy in it.
TEST(CrashSafety, AShellCopyKilledAtAnyCallIsMadeAgainByTheNextBuild) {
  const BuildMachine fresh;
  fresh.AddGeneratedProject(kProject, 50, kSeed);
  const BuildMachine clean;
  clean.CopyDriveFrom(fresh);
  ASSERT_EQ(clean.Build(kProject).exit_code, 0);
  const FileTree want = testing::ReadTree(clean.drive() / kApp);
  ASSERT_TRUE(want.contains("Tagname.X"));

  const int calls = CountedCallsOfTheShellCopy(fresh);
  ASSERT_GT(calls, 0);
  const BuildMachine machine;
  for (int point = 1; point <= calls; ++point) {
    const std::string where = "killed at call " + std::to_string(point) + " of the copy";
    machine.CopyDriveFrom(fresh);
    const testing::RunResult killed =
        machine.Build(kProject, {{"QUELLOR_CRASH_AT", std::to_string(point)}});
    ASSERT_EQ(killed.exit_code, kCrashExitCode) << where << "\n" << killed.out << killed.err;
    const testing::RunResult next = machine.Build(kProject);
    EXPECT_EQ(next.exit_code, 0) << where;
    EXPECT_EQ(next.out.find("ERROR"), std::string::npos) << where << "\n" << next.out;
    EXPECT_EQ(testing::ReadTree(machine.drive() / kApp), want) << where;
  }
}

}  // namespace
}  // namespace quellor
