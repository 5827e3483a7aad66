#include "platform/path_resolver.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "testing/status_matchers.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {
namespace fs = std::filesystem;
using ::quellor::testing::IsOk;
using ::quellor::testing::StatusIs;
using ::quellor::testing::TempDir;
using ::quellor::testing::TempPrefix;
using ::quellor::testing::WriteFile;

// Runs the test from another working folder, restored afterwards.
class ScopedWorkingDir final {
 public:
  explicit ScopedWorkingDir(const fs::path& dir) : saved_(fs::current_path()) {
    fs::current_path(dir);
  }
  ~ScopedWorkingDir() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

class PathResolverTest : public ::testing::Test {
 protected:
  PathResolverTest() {
    fs::create_directories(plant_.path() / "Plant" / "FactorySuite");
    WriteFile(plant_.path() / "Plant" / "Project.mdb", "x");
    prefix_.MapDrive('c', plant_.path());
  }

  std::string Host(std::string_view relative) const { return plant_.Join(relative); }

  TempDir plant_;
  TempPrefix prefix_;
};

TEST_F(PathResolverTest, ResolvesDriveLettersSeparatorsAndCaseThroughTheDriveLink) {
  const std::string drive = (prefix_.path() / "dosdevices" / "c:").string();
  const struct {
    std::string windows;
    std::string host;
  } cases[] = {
      {"C:\\Plant\\Project.mdb", drive + "/Plant/Project.mdb"},
      {"c:\\PLANT\\PROJECT.MDB", drive + "/Plant/Project.mdb"},
      {"C:/Plant/FactorySuite", drive + "/Plant/FactorySuite"},
      {"C:Plant\\factorysuite\\", drive + "/Plant/FactorySuite"},
      {"C:\\\\Plant\\\\Project.mdb", drive + "/Plant/Project.mdb"},
      // A missing component is kept as written, and so is everything below it.
      {"C:\\PLANT\\New\\Sub.txt", drive + "/Plant/New/Sub.txt"},
      {"C:\\", drive},
  };
  for (const auto& c : cases) {
    Result<std::string> host = ResolvePath(c.windows);
    ASSERT_THAT(host, IsOk()) << c.windows;
    EXPECT_EQ(*host, c.host) << c.windows;
  }
}

TEST_F(PathResolverTest, NamesNothingForAnUnmappedDriveANetworkPathOrAnEmptyPath) {
  for (const char* path : {"D:\\Plant", "d:Plant", "\\\\server\\share\\x", "//server/share", ""}) {
    EXPECT_THAT(ResolvePath(path), StatusIs(StatusCode::kNotFound)) << path;
  }
}

TEST_F(PathResolverTest, StartsALeadingSeparatorAtTheHostRoot) {
  const std::string under_root = Host("Plant").substr(1);  // "tmp/qt.../Plant"
  for (const std::string& path : {"\\" + under_root, "/" + under_root}) {
    Result<std::string> host = ResolvePath(path);
    ASSERT_THAT(host, IsOk());
    EXPECT_EQ(*host, Host("Plant"));
  }
}

TEST_F(PathResolverTest, TakesOtherPathsFromTheWorkingFolder) {
  ScopedWorkingDir cwd(plant_.path());
  Result<std::string> host = ResolvePath("plant\\project.mdb");
  ASSERT_THAT(host, IsOk());
  EXPECT_EQ(*host, "Plant/Project.mdb");
  EXPECT_EQ(*ResolvePath("."), ".");
}

TEST_F(PathResolverTest, PicksTheFirstInByteOrderOfTwoNamesDifferingOnlyInCase) {
  fs::create_directories(plant_.path() / "data");
  fs::create_directories(plant_.path() / "Data");
  fs::create_directories(plant_.path() / "DATA");
  Result<std::string> host = ResolvePath("C:\\dAtA");
  ASSERT_THAT(host, IsOk());
  EXPECT_EQ(fs::path(*host).filename(), "DATA");
  // The name as written wins when it exists.
  EXPECT_EQ(fs::path(*ResolvePath("C:\\data")).filename(), "data");
}

TEST_F(PathResolverTest, ConvertsWindows1252NamesToUtf8AndMatchesThem) {
  WriteFile(plant_.path() / "K\xC3\xBChlung.txt", "x");          // "Kühlung" in UTF-8
  Result<std::string> host = ResolvePath("C:\\K\xFChlung.txt");  // ... in Windows-1252
  ASSERT_THAT(host, IsOk());
  EXPECT_TRUE(fs::exists(*host));
  Result<std::string> upper = ResolvePath("C:\\K\xDCHLUNG.TXT");
  ASSERT_THAT(upper, IsOk());  // ASCII-only case: Ü is not ü, so this is a new name
  EXPECT_FALSE(fs::exists(*upper));
}

TEST(PathResolverWithoutMachine, NamesNothingForADriveWhenNoPrefixIsSet) {
  ::quellor::testing::ScopedEnv no_prefix("QUELLOR_PREFIX", std::nullopt);
  ::quellor::testing::ScopedEnv no_home("HOME", std::nullopt);
  EXPECT_THAT(ResolvePath("C:\\x"), StatusIs(StatusCode::kNotFound));
}

}  // namespace
}  // namespace quellor
