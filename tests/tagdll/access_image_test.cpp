#include "tagdll/access_image.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "access/access_test_files.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"
#include "testing/temp_prefix.h"

namespace quellor::tagdll {
namespace {

using testing::AccessTestFile;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using testing::TempDir;
using testing::TempPrefix;
namespace fs = std::filesystem;

// An Access project in a folder of its own, and a machine to keep its image in.
class AccessImageTest : public ::testing::Test {
 protected:
  AccessImageTest() : access_(project_.Join("Project.mdb")) {
    fs::copy_file(AccessTestFile(testing::kNwind), access_);
  }

  fs::path ImageFolder() const { return prefix_.path() / "cache" / "access"; }
  std::vector<std::string> ImageFolderEntries() const {
    std::vector<std::string> names;
    if (!fs::exists(ImageFolder())) return names;
    for (const auto& entry : fs::directory_iterator(ImageFolder())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  static ino_t InodeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_ino;
  }

  TempPrefix prefix_;
  TempDir project_;
  std::string access_;
};

TEST_F(AccessImageTest, AnImageIsMadeOnceAndReusedWhileTheAccessFileStaysAsItWas) {
  const Result<std::string> first = AccessImageOf(access_);
  ASSERT_TRUE(first.ok()) << first.status().ToString();
  EXPECT_THAT(*first, StartsWith(ImageFolder().string() + "/Project.mdb-"));
  EXPECT_EQ(testing::QueryOne(*first, "SELECT count(*) FROM Orders"), "830");
  EXPECT_EQ(testing::QueryOne(*first, "SELECT count(*) FROM SavedQueries"), "22");

  const ino_t made = InodeOf(*first);
  const Result<std::string> again = AccessImageOf(access_);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(*again, *first);
  EXPECT_EQ(InodeOf(*again), made) << "an unchanged Access file is not imported again";

  // Any change of the file (here only its modification time) makes a new image.
  fs::last_write_time(access_, fs::last_write_time(access_) - std::chrono::hours(1));
  const Result<std::string> changed = AccessImageOf(access_);
  ASSERT_TRUE(changed.ok());
  EXPECT_EQ(*changed, *first);
  EXPECT_NE(InodeOf(*changed), made);
  EXPECT_EQ(ImageFolderEntries().size(), 2u) << "the image and its lock, nothing else";
}

TEST_F(AccessImageTest, TwoAccessFilesOfTheSameNameGetTwoImages) {
  const TempDir other;
  const std::string other_access = other.Join("Project.mdb");
  fs::copy_file(AccessTestFile(testing::kNwind), other_access);
  const Result<std::string> one = AccessImageOf(access_);
  const Result<std::string> two = AccessImageOf(other_access);
  ASSERT_TRUE(one.ok() && two.ok());
  EXPECT_NE(*one, *two);
}

TEST_F(AccessImageTest, LeftoversOfAKilledImportAreRemovedAndNeverTakenForTheImage) {
  ASSERT_TRUE(AccessImageOf(access_).ok());
  const std::vector<std::string> before = ImageFolderEntries();
  const std::string image_name = before[0];
  // A killed import leaves its temporary file; the Access file changes after it.
  testing::WriteFile(ImageFolder() / (".~" + image_name + ".999999"), "torn");
  fs::last_write_time(access_, fs::last_write_time(access_) - std::chrono::hours(1));
  ASSERT_TRUE(AccessImageOf(access_).ok());
  EXPECT_EQ(ImageFolderEntries(), before);
}

TEST_F(AccessImageTest, AnAccessFileOpenInAccessIsSaidSoAndImported) {
  testing::WriteFile(project_.Join("PROJECT.LDB"), "");
  ::testing::internal::CaptureStderr();
  const Result<std::string> image = AccessImageOf(access_);
  const std::string said = ::testing::internal::GetCapturedStderr();
  ASSERT_TRUE(image.ok());
  EXPECT_THAT(said, HasSubstr(access_ + " is open in Access (PROJECT.LDB exists)"));
}

TEST_F(AccessImageTest, FailuresSayWhichFileCannotBeReadAndWhyAndLeaveNoImage) {
  const struct {
    const char* what;
    std::function<void(const std::string& access)> damage;
    const char* reason;
  } cases[] = {
      {"cut", [](const std::string& access) { fs::resize_file(access, 3000); }, "truncated"},
      {"password",
       [](const std::string& access) {
         std::fstream file(access, std::ios::in | std::ios::out | std::ios::binary);
         file.seekp(0x42);
         file.put('\x55');
       },
       "password"},
  };
  for (const auto& c : cases) {
    fs::copy_file(AccessTestFile(testing::kNwind), access_, fs::copy_options::overwrite_existing);
    c.damage(access_);
    const Result<std::string> image = AccessImageOf(access_);
    ASSERT_FALSE(image.ok()) << c.what;
    EXPECT_THAT(image.status().message(),
                StartsWith("the Access file " + access_ + " cannot be read: "))
        << c.what;
    EXPECT_THAT(image.status().message(), HasSubstr(c.reason)) << c.what;
    EXPECT_THAT(image.status().message().substr(1),
                ::testing::Not(HasSubstr("cannot be read: the")))
        << "said once: " << c.what;
    for (const std::string& name : ImageFolderEntries()) {
      EXPECT_THAT(name, ::testing::EndsWith(".lock")) << c.what;
    }
  }
}

TEST_F(AccessImageTest, AnImportThatHangsIsEndedAndLeavesNoImage) {
  // A named pipe that nobody writes: the helper waits for its first bytes for ever.
  fs::remove(access_);
  ASSERT_EQ(mkfifo(access_.c_str(), 0644), 0);
  const Result<std::string> image = AccessImageOf(access_, std::chrono::milliseconds(500));
  ASSERT_FALSE(image.ok());
  EXPECT_EQ(image.status().message(),
            "the Access file " + access_ +
                " cannot be read: the import stopped making progress and was ended");
  for (const std::string& name : ImageFolderEntries()) {
    EXPECT_THAT(name, ::testing::EndsWith(".lock"));
  }
}

TEST_F(AccessImageTest, AnImageFolderThatCannotBeWrittenIsAClearFailure) {
  fs::create_directories(ImageFolder());
  fs::permissions(ImageFolder(), fs::perms::owner_read | fs::perms::owner_exec);
  const Result<std::string> image = AccessImageOf(access_);
  ASSERT_FALSE(image.ok());
  EXPECT_THAT(image.status().message(),
              StartsWith("the Access file " + access_ + " cannot be read: "));
  EXPECT_THAT(image.status().message(), HasSubstr("read-only"));
}

}  // namespace
}  // namespace quellor::tagdll
