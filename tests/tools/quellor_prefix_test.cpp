// quellor-prefix end to end: a machine made in an empty folder, checked, and used by a build of
// the sample plant; then the machine damaged in each way a build would trip on, and checked.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "testing/project_database.h"
#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

namespace fs = std::filesystem;
using testing::BinaryPath;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::RunBinary;
using testing::RunResult;

class QuellorPrefix : public ::testing::Test {
 protected:
  RunResult Tool(std::vector<std::string> args) const {
    args.insert(args.begin() + 1, {"--prefix", Machine().string()});
    return RunBinary(BinaryPath("quellor-prefix"), args);
  }
  RunResult Create() const { return Tool({"create", "--drive", "C:=" + DriveC().string()}); }
  fs::path Machine() const { return root_.path() / "machine"; }
  fs::path DriveC() const { return root_.path() / "c"; }

  testing::TempDir root_;
};

TEST_F(QuellorPrefix, MakesAMachineFromNothingThatChecksCompleteAndBuildsTheSamplePlant) {
  const RunResult created = Create();
  EXPECT_EQ(created.exit_code, 0) << created.out;
  EXPECT_THAT(created.out, HasSubstr("made     drive C: " + Machine().string() +
                                     "/dosdevices/c: -> " + DriveC().string() + "\n"));
  EXPECT_THAT(created.out, HasSubstr("made     shell application " + DriveC().string() +
                                     "/Corvane/InTouchShell (from "));

  const RunResult check = Tool({"check"});
  EXPECT_EQ(check.exit_code, 0) << check.out;
  EXPECT_THAT(check.out, Not(HasSubstr("MISSING")));
  const std::vector<std::string> found_lines = {
      "machine " + Machine().string() + " (QUELLOR_PREFIX)\n",
      "registry " + Machine().string() + "/machine.reg\n",
      "shell application HKEY_LOCAL_MACHINE\\SOFTWARE\\Holdrane\\Corvane \"InTShellApp_10p0\"",
      std::string("AppList.INI folder C:\\InTouch\\ -> "), std::string("list separator ','")};
  for (const std::string& found : found_lines) {
    EXPECT_THAT(check.out, HasSubstr("found    " + found));
  }

  const fs::path project = DriveC() / "Projects" / "Plant";
  fs::create_directories(project);
  testing::CreateProjectDatabase(project / "Project.mdb",
                                 testing::ReadFile(fs::path(QUELLOR_PLANT_DIR) / "plant.sql"));
  testing::RunOptions options;
  options.env = {{"QUELLOR_PREFIX", Machine().string()}, {"LC_ALL", "C"}};
  const RunResult build =
      RunBinary(BinaryPath("quellor"), {"--strict", "C:\\Projects\\Plant\\Project.mdb"}, options);
  EXPECT_EQ(build.exit_code, 0) << build.out;
  EXPECT_EQ(build.err, "");
  EXPECT_THAT(testing::ReadFile(DriveC() / "InTouch" / "AppList.INI"), HasSubstr("AppCount=3"));

  const RunResult again = Create();
  EXPECT_EQ(again.exit_code, 0);
  EXPECT_THAT(again.out, Not(HasSubstr("made")));
}

TEST_F(QuellorPrefix, CheckNamesWhatIsMissingWithItsFix) {
  const std::string machine = Machine().string();
  const std::string link = machine + "/dosdevices/c:";
  const std::string create = "fix: quellor-prefix create --prefix " + machine;
  const struct {
    const char* name;
    void (*damage)(const fs::path& machine, const fs::path& drive_c);
    std::vector<std::string> missing;  // after "MISSING  "
  } cases[] = {
      {"no machine",
       [](const fs::path& m, const fs::path&) { fs::remove_all(m); },
       {"machine " + machine + " (QUELLOR_PREFIX) does not exist; " + create}},
      {"no registry",
       [](const fs::path& m, const fs::path&) { fs::remove(m / "machine.reg"); },
       {"registry: no *.reg file in " + machine + "; " + create,
        "shell application: no key HKEY_LOCAL_MACHINE\\SOFTWARE\\Holdrane\\Corvane; " + create}},
      {"a damaged registry file",
       [](const fs::path& m, const fs::path&) { testing::WriteFile(m / "old.reg", "[x]"); },
       {"registry " + machine +
        "/old.reg is not a registry file (no REGEDIT4 header): a build "
        "skips it; fix: rewrite it in the regedit export format, or remove it"}},
      {"drive C: gone",
       [](const fs::path&, const fs::path& c) { fs::remove_all(c); },
       {"drive C: " + link + " -> " + DriveC().string() + ", which is no folder; fix: mkdir -p " +
        DriveC().string() + ", or ln -sfn HOSTDIR " + link}},
      {"no shell application",
       [](const fs::path&, const fs::path& c) { fs::remove_all(c / "Corvane"); },
       {"shell application HKEY_LOCAL_MACHINE\\SOFTWARE\\Holdrane\\Corvane \"InTShellApp_10p0\" "
        "(HMI version 10.2) = C:\\Corvane\\InTouchShell -> " +
        link + "/Corvane/InTouchShell, which holds no Tagname.X; " + create}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(Machine());
    fs::remove_all(DriveC());
    ASSERT_EQ(Create().exit_code, 0);
    c.damage(Machine(), DriveC());
    const RunResult check = Tool({"check"});
    EXPECT_EQ(check.exit_code, 1);
    for (const std::string& missing : c.missing) {
      EXPECT_THAT(check.out, HasSubstr("MISSING  " + missing + "\n"));
    }
  }
}

TEST_F(QuellorPrefix, CreateLeavesADriveThatMapsElsewhereAsItIs) {
  ASSERT_EQ(Create().exit_code, 0);
  const fs::path other = root_.path() / "other";
  const RunResult again = Tool({"create", "--drive", "C:=" + other.string()});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_THAT(again.out, HasSubstr("FAILED   drive C: " + Machine().string() +
                                   "/dosdevices/c: is a link to " + DriveC().string()));
  EXPECT_EQ(fs::read_symlink(Machine() / "dosdevices" / "c:"), DriveC());
  EXPECT_FALSE(fs::exists(other));
}

}  // namespace
}  // namespace quellor
