#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/env.h"
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

// Lines of a profile, joined with the line end under test.
std::string Lines(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

const std::vector<std::string> kSample = {
    "junk=before any section",
    "[Project]",
    "  ManagedApps = 1 \t",
    "; Comment=3",
    "Quoted=\"  spaced  \"",
    "Single='x'",
    "Mixed=\"x'",
    "Nested='\"y\"'",
    "Dup=first",
    "dup=second",
    "NoEquals",
    "Empty=",
    "Inline=v ;x",
    "#hash=h",
    "[Broken",
    "InBroken=b",
    "[ Spaced ]junk=1",
    "K=spaced section",
    "[project]",
    "Later=invisible",
};

TEST(ProfileRead, FollowsTheWindowsRulesWhateverTheLineEnds) {
  const struct {
    std::string section, key;
    std::size_t size;
    std::string expected;
  } cases[] = {
      {"Project", "ManagedApps", 255, "1"},
      {"PROJECT", "managedapps", 255, "1"},
      {"  Project ", " ManagedApps  ", 255, "1"},  // spaces around the names are ignored
      {"Project", "\tManagedApps", 255, "dflt"},   // ... but not a TAB
      {"Project", "; Comment", 255, "dflt"},
      {"Project", "Quoted", 255, "  spaced  "},
      {"Project", "Single", 255, "x"},
      {"Project", "Mixed", 255, "\"x'"},
      {"Project", "Nested", 255, "\"y\""},
      {"Project", "Dup", 255, "first"},
      {"Project", "NoEquals", 255, "dflt"},
      {"Project", "Empty", 255, ""},
      {"Project", "Inline", 255, "v ;x"},
      {"Project", "#hash", 255, "h"},
      {"Broken", "InBroken", 255, "b"},
      {"Spaced", "K", 255, "spaced section"},
      {"project", "Later", 255, "dflt"},  // only the first section of a name is searched
      {"", "junk", 255, "dflt"},
      {"Project", "", 255, "dflt"},
      {"Nowhere", "x", 255, "dflt"},
      {"Project", "Dup", 4, "fir"},
      {"Project", "Dup", 1, ""},
      {"Project", "Dup", 0, ""},
      {"Nowhere", "x", 3, "df"},
  };
  TempDir dir;
  const std::string file = dir.Join("ufolder.ini");
  for (const std::string end : {"\r\n", "\n", "\r"}) {
    WriteFile(file, Lines(kSample, end));
    for (const auto& c : cases) {
      EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "dflt  ", c.size, file), c.expected)
          << c.section << "/" << c.key << " size " << c.size << " end " << end.size();
    }
  }
}

TEST(ProfileRead, ReadsEveryTruncationOfAFileWithoutHarm) {
  TempDir dir;
  const std::string file = dir.Join("cut.ini");
  const std::string whole = Lines(kSample, "\r\n");
  for (std::size_t size = 0; size <= whole.size(); ++size) {
    WriteFile(file, whole.substr(0, size));
    const std::string value = GetPrivateProfileString("Project", "Quoted", "d", 255, file);
    EXPECT_TRUE(value == "d" || value == "  spaced  " ||
                std::string("\"  spaced  ").starts_with(value))
        << size << ": " << value;
  }
}

TEST(ProfileRead, GivesTheDefaultForAMissingFileOrAnEmptyName) {
  TempDir dir;
  EXPECT_EQ(GetPrivateProfileString("Project", "ManagedApps", "0", 255, dir.Join("none.ini")), "0");
  EXPECT_EQ(GetPrivateProfileString("Project", "ManagedApps", "0", 255, ""), "0");
  EXPECT_EQ(GetPrivateProfileInt("History", "bUseAppDir", 7, dir.Join("none.ini")), 7);
}

TEST(ProfileRead, ParsesIntegersAsWindowsDoes) {
  const struct {
    std::string value;
    std::int32_t expected;
  } cases[] = {
      {"1", 1},
      {"-1", -1},
      {"+1", 1},
      {"4294967296", 0},
      {"4294967297", 1},
      {"-4294967297", -1},
      {"42A94967297", 42},
      {"B4294967297", 0},
      {"\"12\"", 12},
      {"0x10", 0},
      {"", 99},
  };
  TempDir dir;
  const std::string file = dir.Join("dhistcfg.ini");
  for (const auto& c : cases) {
    WriteFile(file, "[History]\r\nbUseAppDir=" + c.value + "\r\n");
    EXPECT_EQ(GetPrivateProfileInt("History", "bUseAppDir", 99, file), c.expected) << c.value;
  }
}

TEST(ProfileRead, LooksUpANameWithoutSeparatorInTheMachineNotTheWorkingFolder) {
  TempPrefix prefix;
  prefix.AddFile("WIN.INI", "[InTouch Install]\r\nInstallDirectory=C:\\InTouch\r\n");
  EXPECT_EQ(GetProfileString("InTouch Install", "InstallDirectory", "", 260), "C:\\InTouch");
  TempDir cwd;
  WriteFile(cwd.path() / "local.ini", "[S]\r\nk=v\r\n");
  const fs::path saved = fs::current_path();
  fs::current_path(cwd.path());
  EXPECT_EQ(GetPrivateProfileString("S", "k", "d", 255, "local.ini"), "d");
  EXPECT_EQ(GetPrivateProfileString("S", "k", "d", 255, ".\\local.ini"), "v");
  fs::current_path(saved);
}

class ProfileWriteTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_.Join("AppList.INI"); }
  std::string Content() const { return ReadFile(Path()); }

  TempDir dir_;
};

TEST_F(ProfileWriteTest, KeepsEveryOtherLineByteForByte) {
  WriteFile(Path(),
            "; InTouch applications\n"
            "[InTouch]\n"
            "  AppCount = 2\n"
            "App00000=C:\\One\r\n"
            "; keep me\r\n"
            "\r\n"
            "[Other]\n"
            "x = y\n"
            "[intouch]\n"
            "AppCount=7");
  ASSERT_THAT(WritePrivateProfileString("INTOUCH", "appcount", "3", Path()), IsOk());
  ASSERT_THAT(WritePrivateProfileString("InTouch", " App00002 ", " C:\\Three ", Path()), IsOk());
  ASSERT_THAT(WritePrivateProfileString("New Section", "k", "v", Path()), IsOk());
  EXPECT_EQ(Content(),
            "; InTouch applications\n"
            "[InTouch]\n"
            "AppCount=3\r\n"
            "App00000=C:\\One\r\n"
            "; keep me\r\n"
            "App00002= C:\\Three \r\n"
            "\r\n"
            "[Other]\n"
            "x = y\n"
            "[intouch]\n"
            "AppCount=7\r\n"
            "[New Section]\r\n"
            "k=v\r\n");
}

TEST_F(ProfileWriteTest, CreatesAFileAndWritesSeveralKeysInOneReplacement) {
  FaultyFileSystem counting(HostFileSystem());
  ScopedFileSystemOverride use(counting);
  const ProfileEntry entries[] = {{"AppCount", "1"}, {"App00000", "C:\\Unit1"}, {"appcount", "2"}};
  ASSERT_THAT(WritePrivateProfileStrings("InTouch", entries, Path()), IsOk());
  EXPECT_EQ(Content(), "[InTouch]\r\nAppCount=2\r\nApp00000=C:\\Unit1\r\n");
  EXPECT_EQ(counting.count(FaultPoint::kRename), 1);
}

TEST_F(ProfileWriteTest, RefusesLineEndsEmptyNamesAndLeavesTheFileAlone) {
  WriteFile(Path(), "[InTouch]\r\nAppCount=1\r\n");
  const struct {
    std::string section, key, value;
  } cases[] = {
      {"In\nTouch", "AppCount", "2"},   {"InTouch", "App\rCount", "2"},
      {"InTouch", "AppCount", "2\r\n"}, {"", "AppCount", "2"},
      {"InTouch", "  ", "2"},
  };
  for (const auto& c : cases) {
    EXPECT_THAT(WritePrivateProfileString(c.section, c.key, c.value, Path()),
                StatusIs(StatusCode::kInvalidArgument));
  }
  EXPECT_EQ(Content(), "[InTouch]\r\nAppCount=1\r\n");
  EXPECT_THAT(WritePrivateProfileString("InTouch", "AppCount", "2", ""),
              StatusIs(StatusCode::kPermissionDenied));
  EXPECT_THAT(WritePrivateProfileString("InTouch", "AppCount", "2", dir_.Join("No\\AppList.INI")),
              StatusIs(StatusCode::kNotFound));
}

TEST_F(ProfileWriteTest, AFailedWriteLeavesTheOldFileAndAReadOnlyFileIsRefused) {
  WriteFile(Path(), "[InTouch]\r\nAppCount=1\r\n");
  {
    FaultyFileSystem faulty(HostFileSystem());
    ScopedFileSystemOverride use(faulty);
    faulty.FailNth(FaultPoint::kWrite, 1, ENOSPC);
    EXPECT_THAT(WritePrivateProfileString("InTouch", "AppCount", "2", Path()),
                StatusIs(StatusCode::kIoError));
  }
  EXPECT_EQ(Content(), "[InTouch]\r\nAppCount=1\r\n");
  fs::permissions(Path(), fs::perms(0444));
  EXPECT_THAT(WritePrivateProfileString("InTouch", "AppCount", "2", Path()),
              StatusIs(StatusCode::kPermissionDenied));
  EXPECT_EQ(Content(), "[InTouch]\r\nAppCount=1\r\n");
}

}  // namespace
}  // namespace quellor
