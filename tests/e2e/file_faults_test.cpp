// Builds on a file system that refuses them: read-only application folders and files, a
// project folder where FactorySuite cannot be made, a file-size limit reached mid-write, and
// EIO or ENOSPC at each write, rename and sync of a build in turn. Each ends with a clear
// message and exit 0, and the files the build could not replace keep their old content.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "build_machine.h"
#include "platform/env.h"
#include "sanitized.h"
#include "testing/faulty_file_system.h"

namespace quellor {
namespace {

namespace fs = std::filesystem;
using testing::BuildMachine;
using testing::FaultPoint;
using testing::FaultyFileSystem;
using testing::FileTree;

constexpr char kProject[] = "Plant";
constexpr int kExtraAccessNames = 30;
constexpr char kTagBrw[] = "Projects/Plant/FactorySuite/Clients/InTApps/App1/TagBrw.DAT";

// Thirty more access names for App1, so that its DDE.CFG spans a few kilobytes.
std::string MoreAccessNames() {
  std::string sql;
  for (int i = 0; i < kExtraAccessNames; ++i) {
    const std::string name = "'PN" + std::to_string(100 + i) + "'";
    sql += "INSERT INTO AccessNames VALUES (" + name + ", 'TOPIC', 'SRV1', '', 'PelnetData');";
    sql += "INSERT INTO ClientAppAccessNames VALUES ('App1', 'View', " + name + ", " +
           std::to_string(i + 2) + ");";
  }
  return sql;
}

class FileFaults : public ::testing::Test {
 protected:
  FileFaults() {
    machine_.AddGeneratedProject(kProject, 60, 5);
    testing::RunSql(machine_.ProjectDir(kProject) / "Project.mdb", MoreAccessNames());
  }

  fs::path Clients() const { return machine_.ProjectDir(kProject) / "FactorySuite" / "Clients"; }
  fs::path AppFolder() const { return Clients() / "InTApps" / "App1"; }
  FileTree Outputs() const { return testing::WholeFileOutputs(machine_); }
  // A first build, whose outputs the faulty builds must keep.
  FileTree BuildOnce() const {
    const testing::RunResult first = machine_.Build(kProject);
    EXPECT_EQ(first.exit_code, 0);
    EXPECT_EQ(first.out.find("ERROR"), std::string::npos) << first.out;
    return Outputs();
  }

  BuildMachine machine_;
};

constexpr char kDdeCfg[] = "C:\\PROJECTS\\PLANT\\FactorySuite\\Clients\\InTApps\\App1\\DDE.CFG";
constexpr char kImport[] =
    "C:\\PROJECTS\\PLANT\\FactorySuite\\Clients\\InSApps\\SRV1\\TagImport.txt";

std::string Failed(const char* what, const char* path) {
  return std::string("ERROR - ") + what + " " + path + "\n";
}

TEST_F(FileFaults, ReadOnlyFoldersAndFilesAreReportedAndKeepTheirContent) {
  const FileTree first = BuildOnce();
  const struct {
    const char* name;
    fs::path entry;  // made read-only for the build
    std::string message;
  } cases[] = {
      {"application folder", AppFolder(), Failed("Failed to create file", kDdeCfg)},
      {"DDE.CFG", AppFolder() / "DDE.CFG", Failed("Failed to open", kDdeCfg)},
      {"historian node folder", Clients() / "InSApps" / "SRV1",
       Failed("Failed to create file", kImport)},
      {"TagImport.txt", Clients() / "InSApps" / "SRV1" / "TagImport.txt",
       Failed("Failed to create file", kImport)},
  };
  for (const auto& c : cases) {
    const fs::perms mode = fs::status(c.entry).permissions();
    fs::permissions(c.entry, fs::perms(0555) & mode);
    const testing::RunResult result = machine_.Build(kProject);
    fs::permissions(c.entry, mode);
    EXPECT_EQ(result.exit_code, 0) << c.name;
    EXPECT_NE(result.out.find(c.message), std::string::npos) << c.name << ":\n" << result.out;
    EXPECT_EQ(result.err.find("Sanitizer"), std::string::npos) << c.name << result.err;
    EXPECT_EQ(Outputs(), first) << c.name;
  }
}

TEST_F(FileFaults, AMissingFactorySuiteFolderOnAReadOnlyParentIsReportedAndNothingIsMade) {
  fs::permissions(machine_.ProjectDir(kProject), fs::perms(0555));
  const testing::RunResult result = machine_.Build(kProject);
  fs::permissions(machine_.ProjectDir(kProject), fs::perms(0755));
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_NE(result.out.find("ERROR - Failed to copy shell application to InTouch application\n"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find(Failed("Failed to create file", kImport)), std::string::npos)
      << result.out;
  EXPECT_FALSE(fs::exists(machine_.ProjectDir(kProject) / "FactorySuite"));
}

TEST_F(FileFaults, AFileSizeLimitReachedMidWriteIsAFailedWriteThatKeepsTheOldFiles) {
  const FileTree first = BuildOnce();
  // 2 blocks of 512 bytes: both outputs are larger, so each write stops partway.
  ASSERT_GT(first.at("Projects/Plant/FactorySuite/Clients/InTApps/App1/DDE.CFG").size(), 1024u);
  testing::RunOptions options;
  options.env = {{"QUELLOR_PREFIX", machine_.prefix().string()}, {"LC_ALL", "C"}};
  const testing::RunResult result = testing::RunBinary(
      "/bin/sh",
      {"-c", "ulimit -f 2; exec \"$0\" \"$1\"", testing::BinaryPath("quellor").string(),
       BuildMachine::ProjectLine(kProject)},
      options);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_NE(result.out.find(Failed("Failed to create file", kDdeCfg)), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find(Failed("Failed to create file", kImport)), std::string::npos)
      << result.out;
  EXPECT_EQ(result.err.find("Sanitizer"), std::string::npos) << result.err;
  EXPECT_EQ(Outputs(), first);
}

// Builds in this process through a failing file system, each from the same state: outputs of
// an earlier build, a project changed since. First the calls of each kind are counted, then each
// call in turn fails with each error. Every output stays as it was, or is the new one where the
// failing call came after its replacement; the failure is reported; a build without faults
// afterwards leaves the new outputs.
TEST_F(FileFaults, EachFailedWriteRenameOrSyncIsReportedAndKeepsTheOldFiles) {
  const FileTree first = BuildOnce();
  testing::RunSql(machine_.ProjectDir(kProject) / "Project.mdb",
                  "DELETE FROM ClientAppAccessNames WHERE Seq > 20;"
                  "UPDATE TrendData SET FullDesc = 'changed' WHERE Seq < 10;");
  BuildMachine pristine;
  pristine.CopyDriveFrom(machine_);
  BuildMachine reference;
  reference.CopyDriveFrom(pristine);
  FaultyFileSystem counter(HostFileSystem());
  {
    const ScopedFileSystemOverride use(counter);
    reference.BuildInProcess(kProject);
  }
  const FileTree finished = testing::WholeFileOutputs(reference);
  ASSERT_EQ(finished.size(), first.size());
  int injected = 0;
  for (const FaultPoint point : {FaultPoint::kWrite, FaultPoint::kRename, FaultPoint::kSync}) {
    ASSERT_GT(counter.count(point), 0);
    // Every call; under the sanitizers every few of the many dictionary writes.
    const int step = point == FaultPoint::kWrite && testing::kSanitized ? 5 : 1;
    for (int nth = 1; nth <= counter.count(point); nth += step) {
      for (const int error : {EIO, ENOSPC}) {
        const std::string where = "call " + std::to_string(nth) + " of kind " +
                                  std::to_string(static_cast<int>(point)) + ", " +
                                  std::strerror(error) + ": ";
        machine_.CopyDriveFrom(pristine);
        FaultyFileSystem faulty(HostFileSystem());
        faulty.FailNth(point, nth, error);
        std::vector<std::string> lines;
        {
          const ScopedFileSystemOverride use(faulty);
          lines = machine_.BuildInProcess(kProject);
        }
        ++injected;
        bool reported = false;
        std::string transcript;
        for (const std::string& line : lines) {
          reported |= line.starts_with("ERROR");
          transcript += line + "\n";
        }
        const FileTree now = Outputs();
        // A failed TagBrw.DAT shows as a message box (standard error), not a report line.
        EXPECT_TRUE(reported || now.at(kTagBrw) == first.at(kTagBrw)) << where << transcript;
        EXPECT_EQ(now.size(), first.size()) << where;
        // After a failed Tagname.X write, DDE.CFG and Tagnames.NDX describe the records the
        // dictionary holds, which are neither the old nor the new set: they must agree with it.
        (void)testing::DictionaryByName(AppFolder());
        for (const auto& [path, bytes] : now) {
          if (path.ends_with("DDE.CFG") || path.ends_with("Tagnames.NDX")) continue;
          EXPECT_TRUE(first.at(path) == bytes || finished.at(path) == bytes) << where << path;
        }
      }
    }
  }
  std::cout << "faults injected: " << injected << "\n";
  EXPECT_EQ(machine_.Build(kProject).exit_code, 0);
  EXPECT_EQ(Outputs(), finished);
  EXPECT_NE(first, finished);
}

}  // namespace
}  // namespace quellor
