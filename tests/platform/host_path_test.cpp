#include "platform/host_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {
namespace fs = std::filesystem;
using ::quellor::testing::TempDir;
using ::quellor::testing::WriteFile;

TEST(HostPath, TakesPathsApartAndPutsThemTogether) {
  EXPECT_EQ(ParentFolder("/srv/plant/DDE.CFG"), "/srv/plant");
  EXPECT_EQ(ParentFolder("/DDE.CFG"), "/");
  EXPECT_EQ(ParentFolder("DDE.CFG"), ".");
  EXPECT_EQ(FinalName("/srv/plant/DDE.CFG"), "DDE.CFG");
  EXPECT_EQ(FinalName("DDE.CFG"), "DDE.CFG");
  EXPECT_EQ(JoinHostPath("/srv/plant", "DDE.CFG"), "/srv/plant/DDE.CFG");
  EXPECT_EQ(JoinHostPath("/", "srv"), "/srv");
  EXPECT_EQ(JoinHostPath("", "DDE.CFG"), "DDE.CFG");
}

// The file service's answer is the standard library's for links, missing parts, "." and "..".
TEST(HostPath, WeaklyCanonicalNamesAnEntryAsTheStandardLibraryDoes) {
  TempDir dir;
  const fs::path root = dir.path();
  fs::create_directories(root / "apps" / "Unit1");
  WriteFile(root / "apps" / "Unit1" / "DDE.CFG", "");
  fs::create_directory_symlink(root / "apps", root / "link");
  fs::create_directory_symlink("apps/Unit1", root / "relative");
  for (const fs::path& path : {
           root / "apps" / "Unit1" / "DDE.CFG",
           root / "link" / "Unit1",
           root / "relative" / "DDE.CFG",
           root / "link" / "Unit1" / ".." / "Unit1" / "." / "DDE.CFG",
           root / "link" / "Missing" / "Deeper",
           root / "apps" / "Missing" / ".." / "Unit1",
           root / "apps" / "Unit1" / "DDE.CFG" / "below-a-file",
           fs::path("relative-and-missing") / ".." / "x",
       }) {
    const Result<std::string> canonical = WeaklyCanonical(HostFileSystem(), path.string());
    ASSERT_TRUE(canonical.ok()) << path << ": " << canonical.status().ToString();
    EXPECT_EQ(*canonical, fs::weakly_canonical(path).string()) << path;
  }
}

}  // namespace
}  // namespace quellor
