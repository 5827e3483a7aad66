#include "tagbrowser/tag_brw_build.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/env.h"
#include "report/report.h"
#include "tagbrowser/archive_bytes.h"
#include "testing/faulty_file_system.h"
#include "testing/lock_holder.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using ::quellor::testing::ArchiveBytes;
using ::quellor::testing::AsText;
using ::quellor::testing::FaultPoint;
using ::quellor::testing::FaultyFileSystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kProjectDir[] = "C:\\PROJ";
constexpr char kGuid[] = "{7C42E0DC-3FAC-4ED2-AAFF-599044A1949D}";

// Filter rows in query order; the fifth has no member.
constexpr char kFilterRows[] =
    "INSERT INTO TagFilters VALUES ('Area1', 'PumpA', 1), ('Area1', 'PumpB', 2),"
    " ('Area2', 'PumpB', 3), ('Area2', 'PumpB', 4), ('Area3', NULL, 5);";

// The header of every file here, then a user's remote applications and filters.
ArchiveBytes Header() {
  ArchiveBytes bytes;
  bytes.Fill(16, 0xA1).Str("header").Fill(16, 0xB2).Le32(7).Le32(0x12345678);
  return bytes;
}

// A file a user has worked on: Tank1 from an earlier build with other texts, Zeta of the
// user's own; a project filter key with all six texts, and a filter of the user's own.
std::string UserFile() {
  ArchiveBytes bytes = Header();
  bytes.Count(2)
      .Str("Tank1")
      .Str("old place")
      .Str("old")
      .Str("Other")
      .Str("{old}")
      .Str("Zeta")
      .Str("far away")
      .Str("Zeta")
      .Str("Elsewhere")
      .Str("{zeta}");
  bytes.Count(2)
      .Str("Area1/*")
      .Str("Area1/*")
      .Str("t2")
      .Str("t3")
      .Str("Area1/*")
      .Str("t5")
      .Str("t6")
      .Str("User/*")
      .Str("User/*")
      .Str("u2")
      .Str("u3")
      .Str("User*")
      .Str("u5")
      .Str("u6");
  return std::string(bytes.bytes().begin(), bytes.bytes().end());
}

CAccNames AccessNames(const std::vector<std::vector<std::string>>& rows) {
  CAccNames names;
  for (const auto& row : rows) {
    AccName_T record;
    record.SourceName = row[0];
    record.TopicName = row[1];
    record.ApplicationName = row[2];
    names.AppendRecord(std::move(record));
  }
  return names;
}

CRemoteApp ProjectApp(const std::string& name) {
  return {name, std::string(kProjectDir) + " (" + name + ")", name, "PelnetData", kGuid};
}

class TagBrwBuildTest : public ::testing::Test {
 protected:
  TagBrwBuildTest() : project_(kFilterRows) {}

  std::string Folder() const { return app_.path().string(); }
  std::filesystem::path File() const { return app_.path() / "TagBrw.DAT"; }
  std::string Shown() const { return Folder() + "\\TagBrw.DAT"; }

  // One build of the tag-browser data, start to store; returns what went to standard error.
  std::string BuildAndStore(const CAccNames& names) {
    ::testing::internal::CaptureStderr();
    TagBrwBuild build(kProjectDir, Folder(), names);
    build.Store();
    return ::testing::internal::GetCapturedStderr();
  }

  testing::AttachedProject project_;
  testing::TempDir app_;
  ScopedReportCapture capture_;
  const CAccNames names_ = AccessNames({{"TANK2", "SCADA1@TANK2", "PelnetData"},
                                        {"Tank1", "t", "pelnetdata"},
                                        {"Dummy", "Dummy", "PelnetData"},
                                        {"Pump", "DUMMY", "PelnetData"},
                                        {"Panel", "Tagname", "View"}});
};

TEST_F(TagBrwBuildTest, UpdatesTheFileKeepingWhatUsersAdded) {
  testing::WriteFile(File(), UserFile());
  EXPECT_EQ(BuildAndStore(names_), "");

  CTagBrw expected;
  expected.Header1.fill(0xA1);
  expected.HeaderText = "header";
  expected.Header2.fill(0xB2);
  expected.HeaderValue1 = 7;
  expected.HeaderValue2 = 0x12345678;
  expected.RemoteApps = {ProjectApp("TANK2"),
                         ProjectApp("Tank1"),
                         {"Zeta", "far away", "Zeta", "Elsewhere", "{zeta}"}};
  for (const char* name : {"Area1/*", "Area1/PumpA", "Area1/PumpB", "Area2/*", "Area2/PumpB"}) {
    auto filter = std::make_unique<CUserTagFilter>();
    filter->Name = filter->FilterText = name;
    expected.MergeFilter(std::move(filter));
  }
  expected.MergeFilter(
      std::make_unique<CUserTagFilter>(CUserTagFilter{"User/*", "u2", "u3", "User*", "u5", "u6"}));
  EXPECT_EQ(testing::ReadFile(File()), AsText(expected.Store()));
  EXPECT_THAT(capture_.lines(), ElementsAre("ERROR - Query qFTFilter has invalid record",
                                            "        Created file " + Shown()));
}

TEST_F(TagBrwBuildTest, BuildingTwiceGivesTheSameBytes) {
  testing::WriteFile(File(), UserFile());
  BuildAndStore(names_);
  const std::string first = testing::ReadFile(File());
  BuildAndStore(names_);
  EXPECT_EQ(testing::ReadFile(File()), first);
}

TEST_F(TagBrwBuildTest, NoFileGivesNoFileAndNoMessage) {
  EXPECT_EQ(BuildAndStore(names_), "");
  EXPECT_FALSE(std::filesystem::exists(File()));
  EXPECT_THAT(capture_.lines(), ElementsAre("ERROR - Query qFTFilter has invalid record"));
  EXPECT_THAT(
      std::vector<std::filesystem::path>(std::filesystem::directory_iterator(app_.path()), {}),
      IsEmpty());
}

TEST_F(TagBrwBuildTest, AQueryThatCannotBePreparedGivesNoFiltersAndTheRestRuns) {
  project_.Run("DELETE FROM SavedQueries WHERE Name = 'qFTFilter';");
  testing::WriteFile(File(), AsText(Header().Count(0).Count(0).bytes()));
  BuildAndStore(names_);
  TagBrwBuild reread(kProjectDir, Folder(), CAccNames());
  EXPECT_EQ(reread.model().RemoteApps.size(), 2u);
  EXPECT_TRUE(reread.model().Filters.empty());
  EXPECT_THAT(capture_.lines(), ElementsAre("ERROR - Failed to prepare query qFTFilter",
                                            "        Created file " + Shown(),
                                            "ERROR - Failed to prepare query qFTFilter"));
}

TEST_F(TagBrwBuildTest, AnInvalidFilterRowIsReportedAndDoesNotBecomeThePreviousRow) {
  project_.Run(
      "DELETE FROM TagFilters;"
      "INSERT INTO TagFilters VALUES ('G', 'A', 1), (NULL, 'B', 2), ('G', NULL, 3),"
      " ('G', 'A', 4), ('H', 'A', 5);");
  TagBrwBuild build(kProjectDir, Folder(), CAccNames());
  EXPECT_THAT(build.model().ProjectFilterNames, ElementsAre("G/*", "G/A", "H/*", "H/A"));
  EXPECT_THAT(capture_.lines(), ElementsAre("ERROR - Query qFTFilter has invalid record",
                                            "ERROR - Query qFTFilter has invalid record"));
}

TEST_F(TagBrwBuildTest, RowsWithoutTwoTextValuesAreAllReported) {
  for (const char* sql :
       {"SELECT FilterGroup, Seq FROM TagFilters", "SELECT FilterGroup FROM TagFilters"}) {
    SCOPED_TRACE(sql);
    project_.Run(std::string("UPDATE SavedQueries SET Sql = '") + sql +
                 "' WHERE Name = 'qFTFilter';");
    capture_.Clear();
    TagBrwBuild build(kProjectDir, Folder(), CAccNames());
    EXPECT_THAT(build.model().ProjectFilterNames, IsEmpty());
    EXPECT_EQ(capture_.lines(),
              std::vector<std::string>(5, "ERROR - Query qFTFilter has invalid record"));
  }
}

// A file that cannot be read whole is never rewritten: its bytes survive the build, the box
// line says so, and no "Created file" line is reported.
TEST_F(TagBrwBuildTest, AFileThatCannotBeReadWholeKeepsItsBytes) {
  const std::string whole = UserFile();
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"cut inside the remote applications", whole.substr(0, 80)},
      {"fewer than 16 bytes", whole.substr(0, 10)},
      {"a string longer than the file", AsText(Header().Count(1).Hex("FF FF 7F").bytes())},
      {"empty", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::WriteFile(File(), c.bytes);
    capture_.Clear();
    EXPECT_EQ(BuildAndStore(names_), "Failed to load TagBrw.dat\n");
    EXPECT_EQ(testing::ReadFile(File()), c.bytes);
    EXPECT_THAT(capture_.lines(), ElementsAre("ERROR - Query qFTFilter has invalid record"));
  }
}

// Held while this build reads it, and let go before the store: the store still leaves it alone,
// as the model holds none of what the file held.
TEST_F(TagBrwBuildTest, AFileHeldByAnotherBuildKeepsItsBytes) {
  testing::WriteFile(File(), UserFile());
  testing::LockHolder other_build(File());
  ::testing::internal::CaptureStderr();
  TagBrwBuild build(kProjectDir, Folder(), names_);
  other_build.Release();
  build.Store();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Failed to load TagBrw.dat\n");
  EXPECT_EQ(testing::ReadFile(File()), UserFile());
  EXPECT_THAT(capture_.lines(), ElementsAre("ERROR - Query qFTFilter has invalid record"));
}

TEST_F(TagBrwBuildTest, AFileHeldAtTheStoreIsLeftAloneSilently) {
  testing::WriteFile(File(), UserFile());
  ::testing::internal::CaptureStderr();
  TagBrwBuild build(kProjectDir, Folder(), names_);
  {
    testing::LockHolder other_build(File());
    build.Store();
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(testing::ReadFile(File()), UserFile());
  EXPECT_THAT(capture_.lines(), ElementsAre("ERROR - Query qFTFilter has invalid record"));
}

TEST_F(TagBrwBuildTest, AReadOnlyFileIsReadButNotWritten) {
  testing::WriteFile(File(), UserFile());
  std::filesystem::permissions(File(), std::filesystem::perms::owner_read);
  ::testing::internal::CaptureStderr();
  TagBrwBuild build(kProjectDir, Folder(), names_);
  EXPECT_EQ(build.model().RemoteApps.size(), 3u);
  build.Store();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(testing::ReadFile(File()), UserFile());
}

TEST_F(TagBrwBuildTest, AFailedWriteKeepsTheOldFileAndSaysSo) {
  testing::WriteFile(File(), UserFile());
  TagBrwBuild build(kProjectDir, Folder(), names_);
  capture_.Clear();
  for (const FaultPoint point : {FaultPoint::kWrite, FaultPoint::kSync, FaultPoint::kRename}) {
    FaultyFileSystem faulty(HostFileSystem());
    faulty.FailNth(point, 1, point == FaultPoint::kWrite ? ENOSPC : EIO);
    ScopedFileSystemOverride override_fs(faulty);
    ::testing::internal::CaptureStderr();
    build.Store();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Failed to store TagBrw.dat\n");
    EXPECT_EQ(testing::ReadFile(File()), UserFile());
  }
  EXPECT_THAT(capture_.lines(), IsEmpty());
  EXPECT_THAT(
      std::vector<std::filesystem::path>(std::filesystem::directory_iterator(app_.path()), {}),
      ElementsAre(File()));
}

}  // namespace
}  // namespace quellor
