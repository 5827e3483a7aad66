#include "platform/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>

#include "platform/env.h"
#include "platform/temporary_file.h"
#include "platform/wildcard.h"
#include "testing/faulty_file_system.h"
#include "testing/status_matchers.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {
namespace fs = std::filesystem;
using ::quellor::testing::FaultPoint;
using ::quellor::testing::FaultyFileSystem;
using ::quellor::testing::IsOk;
using ::quellor::testing::ReadFile;
using ::quellor::testing::StatusIs;
using ::quellor::testing::TempDir;
using ::quellor::testing::TempPrefix;
using ::quellor::testing::WriteFile;

TEST(Wildcard, MatchesAsFindFirstFileDoes) {
  const struct {
    std::string pattern, name;
    bool matches;
  } cases[] = {
      {"*.*", "Tagname.X", true},      {"*.*", "README", true},
      {"*.*", "a.b.c", true},          {"*", "x", true},
      {"*.x", "TAGNAME.X", true},      {"*.x", "Tagname.avl", false},
      {"t?g*", "TAG", true},           {"t?g*", "TG", false},
      {"a*.*", "abc", true},           {"a*.*", "bc", false},
      {"*.cfg", "DDE.CFG.bak", false}, {"DDE.CFG", "dde.cfg", true},
      {"*a*b*c", "xaxxbxxcxc", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
  }
}

class ShellCopyTest : public ::testing::Test {
 protected:
  ShellCopyTest() {
    prefix_.MapDrive('c', root_.path());
    const fs::path shell = root_.path() / "Shell";
    fs::create_directories(shell / "Sub" / "Deeper");
    WriteFile(shell / "Tagname.X", "dictionary");
    WriteFile(shell / "README", "no dot in the name");
    WriteFile(shell / "Sub" / "Deeper" / "window.win", "window");
    fs::permissions(shell / "README", fs::perms(0640));
    fs::create_symlink("Tagname.X", shell / "link.x");
  }

  fs::path Dest() const { return root_.path() / "Clients" / "InTApps" / "Unit1"; }

  // The copy of every entry, README last: the folder's own order puts it among the others.
  static Status CopyShell() {
    return CopyFolderEntries("C:\\Clients\\InTApps\\Unit1", "C:\\Shell", "*.*", "readme");
  }

  // Every file and link below the destination by its relative path: a file's bytes, a link's
  // target after "-> ".
  std::map<std::string, std::string> DestTree() const {
    std::map<std::string, std::string> tree;
    if (!fs::exists(Dest())) return tree;
    for (const auto& entry : fs::recursive_directory_iterator(Dest())) {
      const std::string path = entry.path().lexically_relative(Dest()).string();
      if (entry.is_symlink()) {
        tree[path] = "-> " + fs::read_symlink(entry.path()).string();
      } else if (entry.is_regular_file()) {
        tree[path] = ReadFile(entry.path());
      }
    }
    return tree;
  }

  TempDir root_;
  TempPrefix prefix_;
};

TEST_F(ShellCopyTest, CopiesEveryEntryWithSubFoldersModesAndLinksIntoANewFolder) {
  ASSERT_THAT(CopyFolderEntries("C:\\Clients\\InTApps\\Unit1", "C:\\SHELL", "*.*"), IsOk());
  EXPECT_EQ(ReadFile(Dest() / "Tagname.X"), "dictionary");
  EXPECT_EQ(ReadFile(Dest() / "README"), "no dot in the name");
  EXPECT_EQ(fs::status(Dest() / "README").permissions(), fs::perms(0640));
  EXPECT_EQ(ReadFile(Dest() / "Sub" / "Deeper" / "window.win"), "window");
  EXPECT_TRUE(fs::is_symlink(Dest() / "link.x"));
  EXPECT_EQ(fs::read_symlink(Dest() / "link.x"), "Tagname.X");
}

TEST_F(ShellCopyTest, ReplacesExistingFilesEvenReadOnlyOnesAndCopiesOnlyMatches) {
  fs::create_directories(Dest());
  WriteFile(Dest() / "Tagname.X", "old");
  fs::permissions(Dest() / "Tagname.X", fs::perms(0444));
  WriteFile(Dest() / "Keep.txt", "kept");
  ASSERT_THAT(CopyFolderEntries("C:\\Clients\\InTApps\\Unit1", "C:\\Shell", "*.x"), IsOk());
  EXPECT_EQ(ReadFile(Dest() / "Tagname.X"), "dictionary");
  EXPECT_EQ(ReadFile(Dest() / "Keep.txt"), "kept");
  EXPECT_TRUE(fs::is_symlink(Dest() / "link.x"));
  EXPECT_FALSE(fs::exists(Dest() / "README"));
  EXPECT_FALSE(fs::exists(Dest() / "Sub"));
}

// Every write, rename and sync of a copy failed in turn: no entry of the destination is ever a
// part of its source, the last entry is there only when everything else is, no temporary file
// stays, and the copy made again is whole.
TEST_F(ShellCopyTest, ACopyEndedAtAnyCallHoldsTheLastEntryOnlyWhenWhole) {
  FaultyFileSystem faulty(HostFileSystem());
  const ScopedFileSystemOverride use(faulty);
  ASSERT_THAT(CopyShell(), IsOk());
  const std::map<std::string, std::string> whole = DestTree();
  const std::map<FaultPoint, int> calls = {{FaultPoint::kWrite, faulty.count(FaultPoint::kWrite)},
                                           {FaultPoint::kRename, faulty.count(FaultPoint::kRename)},
                                           {FaultPoint::kSync, faulty.count(FaultPoint::kSync)}};
  EXPECT_EQ(calls.at(FaultPoint::kRename), 4);  // each file and link under its temporary name
  for (const auto& [point, count] : calls) {
    for (int nth = 1; nth <= count; ++nth) {
      const std::string where =
          "call " + std::to_string(nth) + " of kind " + std::to_string(static_cast<int>(point));
      fs::remove_all(root_.path() / "Clients");
      faulty.FailNth(point, nth, EIO);
      EXPECT_THAT(CopyShell(), StatusIs(StatusCode::kIoError)) << where;
      faulty.FailNth(point, 0, 0);
      const std::map<std::string, std::string> partial = DestTree();
      for (const auto& [path, bytes] : partial) {
        const auto copied = whole.find(path);
        EXPECT_TRUE(copied != whole.end() && copied->second == bytes) << where << ": " << path;
      }
      if (partial.contains("README")) {
        EXPECT_EQ(partial, whole) << where;
      }
      ASSERT_THAT(CopyShell(), IsOk()) << where;
      EXPECT_EQ(DestTree(), whole) << where;
    }
  }
}

TEST_F(ShellCopyTest, ACopyRemovesTheTemporaryFilesOfCopiesThatDied) {
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  ASSERT_GT(dead, 0);
  waitpid(dead, nullptr, 0);
  fs::create_directories(Dest() / "Sub");
  for (const fs::path& left : {Dest() / TemporaryFileName("README", dead),
                               Dest() / "Sub" / TemporaryFileName("Deeper", dead),
                               Dest() / TemporaryFileName("README", 1)}) {
    WriteFile(left, "part");
  }
  ASSERT_THAT(CopyShell(), IsOk());
  EXPECT_FALSE(fs::exists(Dest() / TemporaryFileName("README", dead)));
  EXPECT_FALSE(fs::exists(Dest() / "Sub" / TemporaryFileName("Deeper", dead)));
  EXPECT_TRUE(fs::exists(Dest() / TemporaryFileName("README", 1)));  // its copy still runs
}

TEST_F(ShellCopyTest, AMissingSourceFolderFailsAndCreatesNothing) {
  EXPECT_THAT(CopyFolderEntries("C:\\Clients\\InTApps\\Unit1", "C:\\NoShell", "*.*"),
              StatusIs(StatusCode::kNotFound));
  EXPECT_THAT(CopyFolderEntries("C:\\Clients\\InTApps\\Unit1", "Q:\\Shell", "*.*"),
              StatusIs(StatusCode::kNotFound));
  EXPECT_FALSE(fs::exists(root_.path() / "Clients"));
}

TEST_F(ShellCopyTest, AReadOnlyParentRefusesTheMissingDestinationEvenToRoot) {
  fs::create_directories(root_.path() / "Clients");
  fs::permissions(root_.path() / "Clients", fs::perms(0555));
  EXPECT_THAT(CopyFolderEntries("C:\\Clients\\InTApps\\Unit1", "C:\\Shell", "*.*"),
              StatusIs(StatusCode::kPermissionDenied));
  EXPECT_FALSE(fs::exists(root_.path() / "Clients" / "InTApps"));
}

TEST_F(ShellCopyTest, RefusesToCopyAFolderIntoItselfOrBelowItself) {
  for (const char* destination : {"C:\\shell", "C:\\Shell\\Sub\\Copy"}) {
    EXPECT_THAT(CopyFolderEntries(destination, "C:\\Shell", "*.*"),
                StatusIs(StatusCode::kInvalidArgument))
        << destination;
  }
  EXPECT_EQ(ReadFile(root_.path() / "Shell" / "Tagname.X"), "dictionary");
  EXPECT_FALSE(fs::exists(root_.path() / "Shell" / "Sub" / "Copy"));
}

TEST_F(ShellCopyTest, RefusesAPipeInsteadOfWaitingOnIt) {
  ASSERT_EQ(mkfifo((root_.path() / "Shell" / "pipe").c_str(), 0600), 0);
  EXPECT_THAT(CopyFolderEntries("C:\\Clients\\Unit1", "C:\\Shell", "pipe"),
              StatusIs(StatusCode::kUnsupported));
}

TEST_F(ShellCopyTest, DeletesOneFileSilentlyAndReportsAMissingOne) {
  ASSERT_THAT(DeleteFileSilently("C:\\shell\\tagname.x"), IsOk());
  EXPECT_FALSE(fs::exists(root_.path() / "Shell" / "Tagname.X"));
  EXPECT_THAT(DeleteFileSilently("C:\\Shell\\Tagname.avl"), StatusIs(StatusCode::kNotFound));
}

}  // namespace
}  // namespace quellor
