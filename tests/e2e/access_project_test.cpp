// quellor on projects whose Project.mdb is a Microsoft Access file, attached through its
// SQLite image under the machine's prefix: the real test files, which are no plants, so each
// build stops at the project's missing flags query.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

#include "access/access_test_files.h"
#include "base/ascii.h"
#include "driver/preview.h"
#include "testing/run_binary.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {

namespace fs = std::filesystem;
using testing::RunResult;

class AccessProject : public ::testing::Test {
 protected:
  RunResult Build(const fs::path& project, bool preview = false) const {
    testing::RunOptions options;
    options.env = {{"QUELLOR_PREFIX", prefix_.path().string()},
                   {"LC_ALL", "C"},
                   {"TMPDIR", temporary_.path().string()}};
    if (preview) options.env.emplace_back("QUELLOR_PREVIEW", "1");
    return testing::RunBinary(testing::BinaryPath("quellor"), {(project / "Project.mdb").string()},
                              options);
  }
  // What every build of a project that lacks the flags query prints.
  static std::string NoFlagsTranscript(const fs::path& project) {
    return ToUpperAscii((project / "PROJECT.MDB").string()) +
           "\nQuellor - Quellorant\n"
           "ERROR - Failed to prepare query qProjectFlags\n"
           "Quellor - is not required for this project type\n";
  }
  fs::path ImageFolder() const { return prefix_.path() / "cache" / "access"; }

  testing::TempPrefix prefix_;
  testing::TempDir work_;
  testing::TempDir temporary_;
};

TEST_F(AccessProject, AnAccessFileAttachesThroughItsImageAndTheBuildNamesWhatIsMissing) {
  for (const std::string_view file : {testing::kNwind, testing::kAssets}) {
    const fs::path project = work_.path() / fs::path(file).stem();
    fs::create_directories(project);
    fs::copy_file(testing::AccessTestFile(file), project / "Project.mdb");
    for (int build = 0; build < 2; ++build) {  // the second build reuses the image
      const RunResult result = Build(project);
      EXPECT_EQ(result.exit_code, 0) << file;
      EXPECT_EQ(result.out, NoFlagsTranscript(project)) << file;
    }
  }
  int images = 0;
  for (const auto& entry : fs::directory_iterator(ImageFolder())) {
    images += entry.path().extension() == ".sqlite";
  }
  EXPECT_EQ(images, 2);
}

TEST_F(AccessProject, AnImportedAccessFileIsAnSqliteProjectDatabase) {
  const fs::path project = work_.path() / "imported";
  fs::create_directories(project);
  const RunResult imported = testing::RunBinary(
      testing::BinaryPath("quellor-import"),
      {testing::AccessTestFile(testing::kNwind).string(), (project / "Project.mdb").string()});
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  const RunResult result = Build(project);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, NoFlagsTranscript(project));
  EXPECT_FALSE(fs::exists(ImageFolder())) << "an SQLite project needs no image";
}

TEST_F(AccessProject, AnAccessFileThatCannotBeReadFailsTheAttachWithItsReason) {
  const fs::path project = work_.path() / "cut";
  fs::create_directories(project);
  fs::copy_file(testing::AccessTestFile(testing::kNwind), project / "Project.mdb");
  fs::resize_file(project / "Project.mdb", 4096);
  const RunResult result = Build(project);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_NE(result.out.find("ERROR - Failed to attach to db\n"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("the Access file " + (project / "Project.mdb").string() +
                            " cannot be read: it is truncated"),
            std::string::npos)
      << result.err;
}

// Every file under `root` with its modification time and bytes.
std::map<std::string, std::string> FilesUnder(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    files[entry.path().string()] =
        std::to_string(entry.last_write_time().time_since_epoch().count()) + " " +
        testing::ReadFile(entry.path());
  }
  return files;
}

// A preview reads an Access project's image where it is current, and otherwise imports the
// Access file afresh into a temporary file that it removes; the cache is never made or changed.
TEST_F(AccessProject, APreviewReadsTheImageOrAFreshImportAndLeavesTheCacheAsItIs) {
  const fs::path project = work_.path() / "nwind";
  fs::create_directories(project);
  fs::copy_file(testing::AccessTestFile(testing::kNwind), project / "Project.mdb");
  const std::string expected = NoFlagsTranscript(project) + std::string(kNothingWrittenLine);

  const RunResult without_image = Build(project, /*preview=*/true);
  EXPECT_EQ(without_image.out, expected);
  EXPECT_FALSE(fs::exists(ImageFolder()));

  ASSERT_EQ(Build(project).out, NoFlagsTranscript(project));
  const std::map<std::string, std::string> cache = FilesUnder(prefix_.path());
  EXPECT_EQ(Build(project, /*preview=*/true).out, expected);  // the image is current
  fs::last_write_time(project / "Project.mdb",
                      fs::last_write_time(project / "Project.mdb") + std::chrono::seconds(5));
  EXPECT_EQ(Build(project, /*preview=*/true).out, expected);  // the image is stale
  EXPECT_EQ(FilesUnder(prefix_.path()), cache);
  EXPECT_TRUE(fs::is_empty(temporary_.path())) << "the fresh import is removed";
}

}  // namespace
}  // namespace quellor
