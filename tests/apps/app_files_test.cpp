#include "apps/app_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "report/report.h"
#include "testing/temp_dir.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {
namespace fs = std::filesystem;
using ::quellor::testing::TempDir;
using ::quellor::testing::TempPrefix;
using ::quellor::testing::WriteFile;

class AppFilesTest : public ::testing::Test {
 protected:
  AppFilesTest() {
    fs::create_directory(drive_.path() / "Unit1");
    prefix_.MapDrive('c', drive_.path());
  }

  fs::path Folder() const { return drive_.path() / "Unit1"; }

  TempDir drive_;
  TempPrefix prefix_;
  ScopedReportCapture reports_;
};

TEST_F(AppFilesTest, DeletesTheStaleFileFoundWithoutRegardToCaseAndNothingElse) {
  WriteFile(Folder() / "tagname.AVL", "stale");
  WriteFile(Folder() / "Tagname.X", "kept");
  DeleteAppFile("C:\\UNIT1", "Tagname.avl");
  EXPECT_FALSE(fs::exists(Folder() / "tagname.AVL"));
  EXPECT_TRUE(fs::exists(Folder() / "Tagname.X"));
  EXPECT_TRUE(reports_.messages().empty());
}

TEST_F(AppFilesTest, MissingFileIsSilentAndAFolderIsNeverRemoved) {
  DeleteAppFile("C:\\Unit1", "Tagname.avl");
  DeleteAppFile("C:\\NoSuchApp", "Tagname.avl");
  DeleteAppFile("Q:\\Unmapped", "Tagname.avl");
  fs::create_directory(Folder() / "Tagname.avl");
  WriteFile(Folder() / "Tagname.avl" / "inside", "x");
  DeleteAppFile("C:\\Unit1", "Tagname.avl");
  DeleteAppFile("C:\\Unit1", "");
  EXPECT_TRUE(fs::exists(Folder() / "Tagname.avl" / "inside"));
  EXPECT_TRUE(reports_.messages().empty());
}

}  // namespace
}  // namespace quellor
