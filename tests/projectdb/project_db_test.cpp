// The program's binding to libtagdll.so: loading by name, the 56 look-ups, and who unloads.
#include "projectdb/project_db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor::testing {
namespace {

std::string Library(const char* file) { return BinaryPath(file).string(); }

// The smallest project database the attach accepts.
std::filesystem::path MakeDatabase(const TempDir& dir) {
  const std::filesystem::path path = dir.path() / "Project.mdb";
  sqlite3* connection = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &connection), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(connection, "CREATE TABLE ProjectFlags (BuildFSTagBrowseFiles BOOLEAN)",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(connection);
  return path;
}

TEST(ProjectDb, LibraryThatCannotBeLoadedGives22246) {
  ProjectDb db("libtagdll_that_does_not_exist.so");
  EXPECT_EQ(db.AttachProjectDb("Project.mdb"), -22246);
  EXPECT_FALSE(db.loaded());
  EXPECT_EQ(db.ReleaseProjectDb(), kTdlFailed);
}

TEST(ProjectDb, LibraryLackingAnEntryPointGives22245AndIsUnloaded) {
  TempDir dir;
  ProjectDb db(Library("libtagdll_lacking_entry.so"));
  EXPECT_EQ(db.AttachProjectDb(MakeDatabase(dir).c_str()), -22245);
  EXPECT_FALSE(db.loaded());
}

// The binding's addresses against the library's own exports, looked up by name through a
// second load of the same library (the loader hands out the one copy it has loaded).
TEST(ProjectDb, AttachBindsEachEntryPointToTheLibrarysFunctionOfThatName) {
  TempDir dir;
  ProjectDb db(Library("libtagdll.so"));
  ASSERT_EQ(db.AttachProjectDb(MakeDatabase(dir).c_str()), kTdlOk);
  ASSERT_TRUE(db.loaded());
  Result<LoadedLibrary> library = LoadedLibrary::Load(Library("libtagdll.so"));
  ASSERT_TRUE(library.ok());
  const auto exported = [&](std::string_view name) { return library->Symbol(std::string(name)); };
  for (std::size_t i = 0; i < kTdlEntryPointNames.size(); ++i) {
    EXPECT_NE(db.addresses()[i], nullptr) << kTdlEntryPointNames[i];
    EXPECT_EQ(db.addresses()[i], exported(kTdlEntryPointNames[i])) << kTdlEntryPointNames[i];
  }
  const TdlEntryPoints& tdl = db.tdl();
  const std::pair<void*, std::string_view> typed[] = {
      {reinterpret_cast<void*>(tdl.Attach), "tdl_Attach"},
      {reinterpret_cast<void*>(tdl.Release), "tdl_Release"},
      {reinterpret_cast<void*>(tdl.PrepareQuery), "tdl_PrepareQuery"},
      {reinterpret_cast<void*>(tdl.PrepareSQLQuery), "tdl_PrepareSQLQuery"},
      {reinterpret_cast<void*>(tdl.MoveNext), "tdl_MoveNext"},
      {reinterpret_cast<void*>(tdl.GetFieldValueByFieldName), "tdl_GetFieldValueByFieldName"},
      {reinterpret_cast<void*>(tdl.GetNextRow), "tdl_GetNextRow"},
      {reinterpret_cast<void*>(tdl.Execute), "tdl_Execute"},
      {reinterpret_cast<void*>(tdl.ReleaseQueryContext), "tdl_ReleaseQueryContext"},
  };
  for (const auto& [address, name] : typed) EXPECT_EQ(address, exported(name)) << name;

  // An entry point that is only looked up answers "not supported".
  using Unsupported = std::int32_t (*)(...);
  EXPECT_EQ(reinterpret_cast<Unsupported>(exported("tdl_ReQuery"))(kTdlEnd), kTdlNotSupported);

  EXPECT_EQ(db.ReleaseProjectDb(), kTdlOk);
  EXPECT_FALSE(db.loaded());
}

TEST(ProjectDb, ProgramsLibraryNameIsFoundBesideTheBinary) {
  TempDir dir;
  ProjectDb db;
  ASSERT_EQ(db.AttachProjectDb(MakeDatabase(dir).c_str()), kTdlOk);
  EXPECT_EQ(db.ReleaseProjectDb(), kTdlOk);
}

TEST(ProjectDb, FailedAttachUnloadsTheLibrary) {
  TempDir dir;
  ProjectDb db(Library("libtagdll.so"));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(db.AttachProjectDb((dir.path() / "Missing.mdb").c_str()), kTdlFailed);
  ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(db.loaded());
  // The next attach loads it afresh.
  ASSERT_EQ(db.AttachProjectDb(MakeDatabase(dir).c_str()), kTdlOk);
  EXPECT_EQ(db.ReleaseProjectDb(), kTdlOk);
}

TEST(ProjectDb, PositiveAttachResultIsAFailureAndUnloads) {
  ProjectDb db(Library("libtagdll_stand_in_1.so"));
  EXPECT_EQ(db.AttachProjectDb("Project.mdb"), kTdlFailed);
  EXPECT_FALSE(db.loaded());
}

TEST(ProjectDb, AttachAnswering22246KeepsTheLibraryLoaded) {
  ProjectDb db(Library("libtagdll_stand_in_minus22246.so"));
  EXPECT_EQ(db.AttachProjectDb("Project.mdb"), -22246);
  EXPECT_TRUE(db.loaded());  // unloaded when the binding goes
}

TEST(ProjectDb, GoingAwayWhileAttachedUnloadsAndFreesEverything) {
  TempDir dir;
  const std::filesystem::path path = MakeDatabase(dir);
  {
    ProjectDb db(Library("libtagdll.so"));
    ASSERT_EQ(db.AttachProjectDb(path.c_str()), kTdlOk);
    TdlQueryContext* context = nullptr;
    ASSERT_EQ(db.tdl().PrepareSQLQuery(&context, "SELECT * FROM ProjectFlags", nullptr, 0, kTdlEnd),
              kTdlOk);
  }
  // The library's attachment went with it: a new binding attaches again.
  ProjectDb again(Library("libtagdll.so"));
  ASSERT_EQ(again.AttachProjectDb(path.c_str()), kTdlOk);
  EXPECT_EQ(again.ReleaseProjectDb(), kTdlOk);
}

}  // namespace
}  // namespace quellor::testing
