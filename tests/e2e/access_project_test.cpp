// quellor on projects whose Project.mdb is a Microsoft Access file, attached through its
// SQLite image under the machine's prefix: the real test files, which are no plants, so each
// build stops at the project's missing flags query.
#include <gtest/gtest.h>

#include <filesystem>

#include "access/access_test_files.h"
#include "base/ascii.h"
#include "testing/run_binary.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {

namespace fs = std::filesystem;
using testing::RunResult;

class AccessProject : public ::testing::Test {
 protected:
  RunResult Build(const fs::path& project) const {
    testing::RunOptions options;
    options.env = {{"QUELLOR_PREFIX", prefix_.path().string()}, {"LC_ALL", "C"}};
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

}  // namespace
}  // namespace quellor
