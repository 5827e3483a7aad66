// The built quellor, run as the suite runs it: one command line, a machine of its own, and
// standard output, standard error and the exit code checked.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/ascii.h"
#include "testing/background_process.h"
#include "testing/project_database.h"
#include "testing/run_binary.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {

namespace fs = std::filesystem;
using testing::RunResult;

constexpr const char* kNoDb = "ERROR - Failed to attach to db\n";

class Quellor : public ::testing::Test {
 protected:
  RunResult Run(const std::vector<std::string>& args) const {
    return RunWith(testing::BinaryPath("quellor"), args);
  }
  RunResult RunWith(const fs::path& binary, const std::vector<std::string>& args) const {
    testing::RunOptions options;
    options.env = {{"QUELLOR_PREFIX", prefix_.path().string()}, {"LC_ALL", "C"}};
    return testing::RunBinary(binary, args, options);
  }
  // A project folder (no dot in its name) whose build flag is false.
  fs::path MakeProject(const std::string& name) const {
    const fs::path folder = work_.path() / fs::u8path(name);
    fs::create_directories(folder);
    testing::CreateProjectDatabase(folder / "Project.mdb", "INSERT INTO ProjectFlags VALUES (0);");
    return folder;
  }
  void RegisterBuildWindow(const std::string& socket_path) const {
    prefix_.AddFile("buildwin.reg",
                    "REGEDIT4\r\n\r\n"
                    "[HKEY_CLASSES_ROOT\\BuildWin.UBuildWin\\CLSID]\r\n"
                    "@=\"{6A1D4E2B-0000-4000-8000-00000000B0B0}\"\r\n\r\n"
                    "[HKEY_CLASSES_ROOT\\CLSID\\{6A1D4E2B-0000-4000-8000-00000000B0B0}"
                    "\\LocalServer32]\r\n"
                    "@=\"" +
                        socket_path + "\"\r\n");
  }

  testing::TempPrefix prefix_;
  testing::TempDir work_;
};

TEST_F(Quellor, RegistrationSwitchesAndBlankLinesEndSilently) {
  const std::vector<std::vector<std::string>> lines = {
      {"/regserver"}, {"/UNREGSERVER"}, {"/RegServer", ""}, {"  ", "\t"}};
  for (const auto& args : lines) {
    const RunResult result = Run(args);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(Quellor, HelpAndVersionNeverReachAProject) {
  for (const char* line : {"--help", "-H", "/?", "--Version"}) {
    const RunResult result = Run({line});
    EXPECT_EQ(result.exit_code, 0) << line;
    EXPECT_TRUE(result.out.starts_with("Usage: quellor") || result.out.starts_with("quellor "))
        << line << ": " << result.out;
    EXPECT_EQ(result.out.find("Quellorant"), std::string::npos) << line;
  }
}

TEST_F(Quellor, AProjectThatDoesNotWantTheBuildPrintsExactlyThreeLines) {
  const fs::path project = MakeProject("plant");
  const RunResult result = Run({(project / "Project.mdb").string()});
  EXPECT_EQ(result.exit_code, 0);
  const std::string upper = ToUpperAscii((project / "PROJECT.MDB").string());
  EXPECT_EQ(result.out, upper +
                            "\nQuellor - Quellorant\n"
                            "Quellor - is not required for this project type\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(Quellor, FindsAProjectWhosePathHoldsANonAsciiCharacter) {
  const fs::path project = MakeProject(
      "anlage_\xC2\xB0"
      "c");  // "°c" in UTF-8
  prefix_.MapDrive('c', work_.path());
  const RunResult result =
      Run({"c:\\anlage_\xC2\xB0"
           "c\\project.mdb"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out,
            "C:\\ANLAGE_\xC2\xB0"
            "C\\PROJECT.MDB\n"
            "Quellor - Quellorant\n"
            "Quellor - is not required for this project type\n");
}

TEST_F(Quellor, JoinsItsArgumentsWithSingleBlanks) {
  const RunResult result = Run({"c:\\proj", "two", "100%"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, std::string("C:\\PROJ TWO 100%\nQuellor - Quellorant\n") + kNoDb);
}

TEST_F(Quellor, AMissingOrIncompleteLibraryFailsTheAttachAndExitsZero) {
  const fs::path project = MakeProject("plant");
  const struct {
    const char* name;
    const char* library;  // copied beside the binary as libtagdll.so; nullptr: none
    const char* reason;   // on standard error
  } cases[] = {
      {"missing", nullptr,
       "quellor: the project-database library cannot be used: libtagdll.so: cannot open shared "
       "object file: No such file or directory\n"},
      {"incomplete", "libtagdll_lacking_entry.so",
       "quellor: the project-database library cannot be used: libtagdll.so has no entry point "
       "tdl_ReQuery\n"},
  };
  for (const auto& c : cases) {
    const testing::TempDir bin;
    fs::copy_file(testing::BinaryPath("quellor"), bin.path() / "quellor");
    if (c.library != nullptr) {
      fs::copy_file(testing::BinaryPath(c.library), bin.path() / "libtagdll.so");
    }
    const RunResult result = RunWith(bin.path() / "quellor", {project.string()});
    EXPECT_EQ(result.exit_code, 0) << c.name;
    EXPECT_TRUE(result.out.ends_with(std::string("Quellor - Quellorant\n") + kNoDb))
        << c.name << ": " << result.out;
    EXPECT_EQ(result.err, c.reason) << c.name;
  }
}

TEST_F(Quellor, TheBuildWindowGetsTheWholeRun) {
  const std::string socket_path = prefix_.path().string() + "/bw";
  testing::BackgroundProcess window(testing::BinaryPath("buildwin"), {socket_path});
  ASSERT_EQ(window.ReadErrorLine(), "buildwin: listening on " + socket_path);
  RegisterBuildWindow(socket_path);

  const RunResult result = Run({"c:\\proj\\project.mdb,unit1,d:\\apps"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(window.Wait().out,
            "BeginFile\tC:\\PROJ\\PROJECT.MDB\n"
            "ReportMsg\tC:\\PROJ\\PROJECT.MDB,UNIT1,D:\\APPS\n"
            "ReportMsg\tQuellor - Quellorant\n"
            "ReportError\t1\tERROR - Failed to attach to db\n"
            "EndFile\n");
}

}  // namespace
}  // namespace quellor
