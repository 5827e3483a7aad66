#include "apps/app_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/env.h"
#include "report/report.h"
#include "testing/faulty_file_system.h"
#include "testing/lock_holder.h"
#include "testing/temp_dir.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {
namespace fs = std::filesystem;
using ::quellor::testing::FaultPoint;
using ::quellor::testing::FaultyFileSystem;
using ::quellor::testing::LockHolder;
using ::quellor::testing::ReadFile;
using ::quellor::testing::TempDir;
using ::quellor::testing::TempPrefix;
using ::quellor::testing::WriteFile;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;

constexpr char kAppPath[] = "C:\\Plant\\FactorySuite\\Clients\\InTApps\\Unit1";

constexpr std::string_view kInstallationKey = "SOFTWARE\\Wonderware\\InTouch\\Installation";

// A .reg file with the HMI's installation key holding `values` (already in .reg syntax).
std::string InstallationReg(std::string_view values, std::string_view key_path = kInstallationKey) {
  return "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + std::string(key_path) + "]\r\n" +
         std::string(values) + "\r\n";
}

// The machine: drive C: with the HMI installed in C:\InTouch, whose AppList.INI is the list.
class AppListTest : public ::testing::Test {
 protected:
  AppListTest() {
    fs::create_directory(drive_.path() / "InTouch");
    prefix_.MapDrive('c', drive_.path());
    SetMachine(InstallationReg("\"InstallPath\"=\"C:\\\\InTouch\""), "");
  }

  // Replaces the machine's registry and win.ini.
  void SetMachine(std::string_view reg, std::string_view win_ini) {
    fs::remove(prefix_.path() / "hmi.reg");
    fs::remove(prefix_.path() / "win.ini");
    if (!reg.empty()) prefix_.AddFile("hmi.reg", reg);
    if (!win_ini.empty()) prefix_.AddFile("win.ini", win_ini);
    Env::Default().Reset();
  }

  fs::path List() const { return drive_.path() / "InTouch" / "AppList.INI"; }

  TempDir drive_;
  TempPrefix prefix_;
  ScopedReportCapture reports_;
};

TEST_F(AppListTest, AppendsAfterTheOtherApplicationsThenLeavesTheListUnchanged) {
  WriteFile(List(), "[InTouch]\r\nAppCount=2\r\nApp00000=C:\\Other1\r\nApp00001=C:\\Other2\r\n");
  RegisterInAppList(kAppPath);
  const std::string registered =
      "[InTouch]\r\nAppCount=3\r\nApp00000=C:\\Other1\r\nApp00001=C:\\Other2\r\n"
      "App00002=C:\\Plant\\FactorySuite\\Clients\\InTApps\\Unit1\r\n";
  EXPECT_EQ(ReadFile(List()), registered);
  RegisterInAppList(kAppPath);
  EXPECT_EQ(ReadFile(List()), registered);
  EXPECT_THAT(reports_.messages(), IsEmpty());
}

TEST_F(AppListTest, RecognisesTheFolderListedInAnotherLetterCase) {
  const std::string list =
      "[intouch]\nappcount=1\napp00000=c:\\plant\\factorysuite\\CLIENTS\\intapps\\UNIT1\n";
  WriteFile(List(), list);
  RegisterInAppList(kAppPath);
  EXPECT_EQ(ReadFile(List()), list);
}

TEST_F(AppListTest, RegistersALongFolderOnceOverTwoBuilds) {
  const std::string long_path = "C:\\" + std::string(297, 'L');
  RegisterInAppList(long_path);
  RegisterInAppList(long_path);
  EXPECT_EQ(ReadFile(List()), "[InTouch]\r\nAppCount=1\r\nApp00000=" + long_path + "\r\n");
  EXPECT_THAT(reports_.messages(), IsEmpty());
}

TEST_F(AppListTest, InvalidCountLeavesTheListUntouchedWithAWarning) {
  const struct {
    std::string_view count;
    std::string_view message;
  } cases[] = {
      {"-1", "AppList.INI has an invalid AppCount -1"},
      {"100000", "AppList.INI has an invalid AppCount 100000"},
      {"4294967295", "AppList.INI has an invalid AppCount -1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    const std::string list = "[InTouch]\r\nAppCount=" + std::string(c.count) + "\r\nApp00000=x\r\n";
    WriteFile(List(), list);
    reports_.Clear();
    RegisterInAppList(kAppPath);
    EXPECT_EQ(ReadFile(List()), list);
    EXPECT_THAT(reports_.messages(), ElementsAre(ReportedMessage{std::string(c.message), 1, 0}));
  }
}

// Lists as a person or another program may leave them, read as the profile functions read.
TEST_F(AppListTest, ReadsDamagedListsAsTheProfileFunctionsDo) {
  const std::string app = kAppPath;
  const std::string quoted = "[InTouch]\r\nAppCount=1\r\n  App00000 = \"" + app + "\" \r\n";
  const struct {
    std::string_view name;
    std::string before;
    std::string after;
  } cases[] = {
      {"missing list", "", "[InTouch]\r\nAppCount=1\r\nApp00000=" + app + "\r\n"},
      {"empty list", "", "[InTouch]\r\nAppCount=1\r\nApp00000=" + app + "\r\n"},
      {"no count: only keys below 0 compared", "[InTouch]\r\nApp00000=" + app + "\r\n",
       "[InTouch]\r\nApp00000=" + app + "\r\nAppCount=1\r\n"},
      {"a key missing below the count never matches", "[InTouch]\r\nAppCount=1\r\n",
       "[InTouch]\r\nAppCount=2\r\nApp00001=" + app + "\r\n"},
      {"quoted value, blanks around it", quoted, quoted},
      {"key line without '=' reads as missing", "[InTouch]\r\nAppCount=1\r\nApp00000\r\n",
       "[InTouch]\r\nAppCount=2\r\nApp00000\r\nApp00001=" + app + "\r\n"},
      {"first of duplicate keys wins",
       "[InTouch]\r\nAppCount=1\r\nApp00000=C:\\Other\r\nApp00000=" + app + "\r\n",
       "[InTouch]\r\nAppCount=2\r\nApp00000=C:\\Other\r\nApp00000=" + app + "\r\nApp00001=" + app +
           "\r\n"},
      {"a repeated section is not read",
       "[InTouch]\r\nAppCount=0\r\n[InTouch]\r\nApp00000=" + app + "\r\n",
       "[InTouch]\r\nAppCount=1\r\nApp00000=" + app + "\r\n[InTouch]\r\nApp00000=" + app + "\r\n"},
      {"digits then junk in the count", "[InTouch]\r\nAppCount=1x\r\n;App00000=" + app + "\r\n",
       "[InTouch]\r\nAppCount=2\r\n;App00000=" + app + "\r\nApp00001=" + app + "\r\n"},
      {"other sections kept", "[Other]\r\nApp00000=" + app + "\r\n",
       "[Other]\r\nApp00000=" + app + "\r\n[InTouch]\r\nAppCount=1\r\nApp00000=" + app + "\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(List());
    if (c.name != "missing list") WriteFile(List(), c.before);
    RegisterInAppList(kAppPath);
    EXPECT_EQ(ReadFile(List()), c.after);
  }
  EXPECT_THAT(reports_.messages(), IsEmpty());
}

TEST_F(AppListTest, FindsTheListWhereTheInstallationSaysAndNowhereWithoutOne) {
  const std::string win_ini = "[InTouch Install]\r\nInstallDirectory=C:\\FromWinIni\r\n";
  const struct {
    std::string_view name;
    std::string reg;
    std::string win_ini;
    std::string_view directory;
  } cases[] = {
      {"installation folder", InstallationReg("\"InstallPath\"=\"C:\\\\InTouch\""), "",
       "C:\\InTouch\\"},
      {"trailing blanks and backslash kept once",
       InstallationReg("\"InstallPath\"=\"C:\\\\InTouch\\\\ \t\""), "", "C:\\InTouch\\"},
      {"application directory wins",
       InstallationReg(
           "\"InstallPath\"=\"C:\\\\InTouch\"\r\n\"Application Directory\"=\"D:\\\\Apps\""),
       win_ini, "D:\\Apps\\"},
      {"win.ini when the registry has no folder", "", win_ini, "C:\\FromWinIni\\"},
      {"application directory alone registers nothing",
       InstallationReg("\"Application Directory\"=\"D:\\\\Apps\""), "", ""},
      {"32-bit view of a 64-bit machine",
       InstallationReg("\"InstallPath\"=\"C:\\\\Wow\"",
                       "SOFTWARE\\WOW6432Node\\Wonderware\\InTouch\\Installation"),
       "", "C:\\Wow\\"},
      {"a folder too long for the buffer is none",
       InstallationReg("\"InstallPath\"=\"C:\\\\" + std::string(257, 'x') + "\""), "", ""},
      {"a blank directory is none", InstallationReg("\"InstallPath\"=\"   \""), "", ""},
      {"nothing anywhere", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetMachine(c.reg, c.win_ini);
    EXPECT_EQ(AppListDirectory(), c.directory);
  }
  SetMachine("", "");
  RegisterInAppList(kAppPath);
  EXPECT_FALSE(fs::exists(List()));
  EXPECT_THAT(reports_.messages(), IsEmpty());
}

TEST_F(AppListTest, UnwritableListIsReportedAndLeftAsItWas) {
  const ReportedMessage failed{"Failed to create file C:\\InTouch\\AppList.INI", 2, 1};
  const std::string list = "[InTouch]\r\nAppCount=1\r\nApp00000=" + std::string(kAppPath) + "\r\n";
  WriteFile(List(), list);
  fs::permissions(List(), fs::perms(0444));
  RegisterInAppList(kAppPath);  // registered already: nothing to write, nothing to report
  EXPECT_THAT(reports_.messages(), IsEmpty());
  // Each failure is followed on standard error by its reason.
  const auto register_in_list = [](std::string_view app_path) {
    ::testing::internal::CaptureStderr();
    RegisterInAppList(app_path);
    return ::testing::internal::GetCapturedStderr();
  };
  EXPECT_THAT(register_in_list("C:\\Plant\\Unit2"),
              EndsWith("/dosdevices/c:/InTouch/AppList.INI: read-only\n"));
  EXPECT_EQ(ReadFile(List()), list);
  EXPECT_THAT(reports_.messages(), ElementsAre(failed));

  fs::remove(List());
  reports_.Clear();
  EXPECT_EQ(register_in_list("C:\\Plant\\Line\r\nApp00000=C:\\Elsewhere"),
            "an application folder holding a line end cannot be listed in "
            "C:\\InTouch\\AppList.INI\n");
  EXPECT_FALSE(fs::exists(List()));
  EXPECT_THAT(reports_.messages(), ElementsAre(failed));

  fs::remove(drive_.path() / "InTouch");
  reports_.Clear();
  EXPECT_THAT(register_in_list(kAppPath),
              MatchesRegex(".*/dosdevices/c:/InTouch/[^/]*AppList.INI[^/]*: No such file or "
                           "directory\n"));
  EXPECT_FALSE(fs::exists(drive_.path() / "InTouch"));
  EXPECT_THAT(reports_.messages(), ElementsAre(failed));
}

TEST_F(AppListTest, FailedReplacementKeepsTheOldList) {
  const std::string list = "[InTouch]\r\nAppCount=0\r\n";
  WriteFile(List(), list);
  FaultyFileSystem faulty(Env::Default().file_system());
  faulty.FailNth(FaultPoint::kRename, 1, EIO);
  {
    ScopedFileSystemOverride use(faulty);
    RegisterInAppList(kAppPath);
  }
  EXPECT_EQ(ReadFile(List()), list);
  EXPECT_THAT(reports_.messages(),
              ElementsAre(ReportedMessage{"Failed to create file C:\\InTouch\\AppList.INI", 2, 1}));
}

// Tells the test, through a pipe, when an open starts waiting for a lock, then waits for it.
class LockWaitSignal final : public ForwardingFileSystem {
 public:
  LockWaitSignal(FileSystem& target, int signal_fd)
      : ForwardingFileSystem(target), signal_fd_(signal_fd) {}

  Result<std::unique_ptr<File>> Open(const std::string& path, const OpenOptions& options) override {
    if (options.lock == FileLock::kExclusiveWait) {
      const char waiting = 'W';
      if (write(signal_fd_, &waiting, 1) != 1) return Status::IoError("signal pipe");
    }
    return target().Open(path, options);
  }

 private:
  int signal_fd_;
};

TEST_F(AppListTest, WaitsForTheBuildThatHoldsTheListFolderBeforeReadingTheCount) {
  WriteFile(List(), "[InTouch]\r\nAppCount=0\r\n");
  int pipe_fds[2];
  ASSERT_EQ(pipe(pipe_fds), 0);
  LockWaitSignal signal(Env::Default().file_system(), pipe_fds[1]);
  ScopedFileSystemOverride use(signal);
  LockHolder other_build(List().parent_path());
  std::thread build([] { RegisterInAppList(kAppPath); });
  char waiting = 0;
  ASSERT_EQ(read(pipe_fds[0], &waiting, 1), 1);
  // While this build waits, the other one registers its application and lets the list go.
  WriteFile(List(), "[InTouch]\r\nAppCount=1\r\nApp00000=C:\\Other\r\n");
  other_build.Release();
  build.join();
  close(pipe_fds[0]);
  close(pipe_fds[1]);
  EXPECT_EQ(ReadFile(List()), "[InTouch]\r\nAppCount=2\r\nApp00000=C:\\Other\r\nApp00001=" +
                                  std::string(kAppPath) + "\r\n");
}

}  // namespace
}  // namespace quellor
