#include "platform/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/wildcard.h"
#include "testing/status_matchers.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {
namespace fs = std::filesystem;
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
