// quellor-import end to end: the built program on copies of the real Access files in
// temporary folders; its output file, its lines and its exit codes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "access/access_test_files.h"
#include "platform/helper_process.h"
#include "testing/project_database.h"
#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

RunResult Import(const std::vector<std::string>& args) {
  return RunBinary(BinaryPath("quellor-import"), args);
}

// The names in a folder, to see that nothing but the target is left behind.
std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(QuellorImportTest, ImportWritesTheWholeDatabaseAndNothingElse) {
  TempDir dir;
  // The Access file is only read: a read-only copy does, and it stays as it was.
  const fs::path access_file = ChangedCopy(dir, kNwind, "Project.mdb", [](std::string&) {});
  fs::permissions(access_file, fs::perms::owner_read);
  const std::string target = dir.Join("project.sqlite");
  const RunResult run = Import({access_file.string(), target});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"Project.mdb", "project.sqlite"}));
  EXPECT_EQ(ReadFile(access_file), ReadFile(AccessTestFile(kNwind)));
  EXPECT_EQ(QueryOne(target, "SELECT count(*) FROM Orders"), "830");
  EXPECT_EQ(QueryOne(target, "SELECT count(*) FROM SavedQueries"), "22");
}

TEST(QuellorImportTest, ImportReplacesAnExistingDatabaseOnlyWithForce) {
  TempDir dir;
  const std::string target = dir.Join("project.sqlite");
  WriteFile(target, "keep");
  const RunResult refused = Import({AccessTestFile(kAssets).string(), target});
  EXPECT_EQ(refused.exit_code, 3);
  EXPECT_EQ(refused.err,
            "the SQLite file " + target + " cannot be written: it exists (--force replaces it)\n");
  EXPECT_EQ(ReadFile(target), "keep");

  const RunResult forced = Import({"--force", AccessTestFile(kAssets).string(), target});
  EXPECT_EQ(forced.exit_code, 0);
  EXPECT_EQ(QueryOne(target, "SELECT count(*) FROM [Asset Items]"), "65");
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"project.sqlite"});
}

TEST(QuellorImportTest, ImportRefusesFilesItCannotReadWithTheirOwnReason) {
  // Header fields lie in a region masked with a fixed key stream, so flipping a bit of the
  // file flips the same bit of the field: the encryption key at 0x3E and the password at
  // 0x42 of the files' (all zero) fields become non-zero.
  const auto flip = [](std::size_t offset, char mask) {
    return [offset, mask](std::string& bytes) { bytes[offset] ^= mask; };
  };
  const auto cut = [](std::size_t size) {
    return [size](std::string& bytes) { bytes.resize(size); };
  };
  struct Case {
    std::string_view file;
    std::function<void(std::string&)> change;
    std::string reason;
  } const cases[] = {
      {kNwind, cut(0), "it is empty"},
      {kNwind, [](std::string& bytes) { bytes = "SQLite format 3" + std::string(5000, '\0'); },
       "it is not an Access database"},
      {kNwind, cut(100), "it is truncated"},
      {kNwind, cut(5000),
       "it is truncated (5000 bytes, not a whole number of its 2048-byte pages)"},
      {kAssets, cut(8192),
       "it is truncated (8192 bytes, not a whole number of its 4096-byte pages)"},
      {kNwind, flip(0x3E, 0x01), "it is encrypted"},
      {kAssets, flip(0x41, 0x10), "it is encrypted"},
      {kNwind, flip(0x42, 'A'), "it is protected by a password"},
      {kAssets, flip(0x50, 'A'), "it is protected by a password"},
      {kNwind, [](std::string& bytes) { bytes[0x14] = 0x09; },
       "its format (0x09) is not one this program reads"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    TempDir dir;
    const fs::path copy = ChangedCopy(dir, c.file, "Project.mdb", c.change);
    const RunResult run = Import({copy.string(), dir.Join("out.sqlite")});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "the Access file " + copy.string() + " cannot be read: " + c.reason + "\n");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Project.mdb"});
  }
  TempDir dir;
  EXPECT_EQ(Import({dir.Join("missing.mdb"), dir.Join("out.sqlite")}).err,
            "the Access file " + dir.Join("missing.mdb") +
                " cannot be read: No such file or directory\n");
}

TEST(QuellorImportTest, AWatchedImportEndsWithTheProcessThatStartedIt) {
  const TempDir dir;
  const std::string pipe = dir.Join("stuck.mdb");  // nobody writes it: the import waits
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  // The shell starts the import in the background and ends at once; the import, which holds
  // the shell's standard error too, must end with it, or the helper would stall.
  const std::string script = BinaryPath("quellor-import").string() + " --watched $$ " + pipe + " " +
                             dir.Join("out.sqlite") + " & echo started >&2";
  const Result<HelperOutcome> outcome =
      RunHelper({"/bin/sh", "-c", script}, std::chrono::seconds(20));
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(outcome->end, HelperOutcome::End::kExited);
  EXPECT_EQ(outcome->last_line, "started");
}

TEST(QuellorImportTest, ImportRefusesATableNamedAsTheSavedQueriesTable) {
  // The catalog row of the form "Product List" (at 0x1122D0, its Type at +9, its name at
  // 0x1122EF) made a table named "SavedQueries".
  TempDir dir;
  const fs::path copy = ChangedCopy(dir, kNwind, "Project.mdb", [](std::string& bytes) {
    ASSERT_EQ(bytes.substr(0x1122EF, 12), "Product List");
    ASSERT_EQ(bytes.substr(0x1122D9, 2), std::string("\x00\x80", 2));
    bytes.replace(0x1122EF, 12, "SavedQueries");
    bytes.replace(0x1122D9, 2, std::string("\x01\x00", 2));
  });
  const RunResult run = Import({copy.string(), dir.Join("out.sqlite")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "the Access file " + copy.string() +
                         " cannot be read: its table \"SavedQueries\" has the name of the table "
                         "the import writes its saved queries to\n");
}

TEST(QuellorImportTest, ListPrintsTablesWithRowsAndQueriesWithTheirVerdictsAndAccessSql) {
  const RunResult assets = Import({"--list", AccessTestFile(kAssets).string()});
  EXPECT_EQ(assets.exit_code, 0);
  EXPECT_EQ(assets.out,
            "table \"Asset Items\": 65 rows\n"
            "query \"qryComputerHardwareInOwnerOrder\" (select), translates:\n"
            "    SELECT [Asset Items].[Asset No], [Asset Items].[Owner], [Asset Items].[Asset "
            "Category], [Asset Items].[Make], [Asset Items].[Model], [Asset Items].[Cost]\n"
            "    FROM [Asset Items]\n"
            "    WHERE ((([Asset Items].[Asset Category])=\"Computer Hardware\"))\n"
            "    ORDER BY [Asset Items].[Owner];\n"
            "query \"qryCostsSummedByOwner\" (select), translates:\n"
            "    SELECT [Asset Items].[Owner], [Asset Items].[Asset Category], Sum([Asset "
            "Items].[Cost]) AS SumOfCost\n"
            "    FROM [Asset Items]\n"
            "    GROUP BY [Asset Items].[Owner], [Asset Items].[Asset Category];\n"
            "query \"qryGSTCalculations\" (select), translates:\n"
            "    SELECT [Asset Items].[Asset No], [Asset Items].Make, [Asset Items].Model, [Asset "
            "Items].Acquired, [Asset Items].Cost, [Cost]/1.22 AS [Ex Tax], [Cost]-([Cost]/1.22) "
            "AS GST\n"
            "    FROM [Asset Items];\n");
  const RunResult nwind = Import({"--list", AccessTestFile(kNwind).string()});
  EXPECT_EQ(nwind.exit_code, 0);
  EXPECT_THAT(nwind.out, StartsWith("table \"Order Details\": 2155 rows\n"));
  EXPECT_THAT(nwind.out,
              HasSubstr("table \"Ums\xC3\xA4tze\": 830 rows\n"
                        "query \"Alphabetical List of Products\" (select), translates:\n"));
  EXPECT_THAT(nwind.out, HasSubstr("query \"Quarterly Orders by Product\" (crosstab), translates:\n"
                                   "    TRANSFORM Sum("));
}

TEST(QuellorImportTest, ProgressNamesEachTableAndTheSavedQueries) {
  TempDir dir;
  const RunResult run =
      Import({"--progress", AccessTestFile(kNwind).string(), dir.Join("out.sqlite")});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err,
            "importing table \"Order Details\"\nimporting table \"Orders\"\n"
            "importing table \"Products\"\nimporting table \"Shippers\"\n"
            "importing table \"Categories\"\nimporting table \"Customers\"\n"
            "importing table \"Employees\"\nimporting table \"Suppliers\"\n"
            "importing table \"Ums\xC3\xA4tze\"\nimporting the saved queries\n");
}

TEST(QuellorImportTest, StatesItsUsageVersionAndExitCodes) {
  const RunResult help = Import({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_THAT(help.out, HasSubstr("exit codes: 0 done, 1 the Access file cannot be read, 2 bad "
                                  "usage, 3 the SQLite file\ncannot be written\n"));
  const RunResult version = Import({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_THAT(version.out, StartsWith("quellor-import "));
  EXPECT_THAT(version.out, HasSubstr("(import version "));
  struct Case {
    std::vector<std::string> args;
    std::string problem;
  } const bad[] = {
      {{}, "an ACCESS_FILE and a SQLITE_FILE are needed"},
      {{"a.mdb"}, "an ACCESS_FILE and a SQLITE_FILE are needed"},
      {{"--list", "a.mdb", "b.mdb"}, "--list takes one ACCESS_FILE"},
      {{"--fast", "a.mdb", "b.sqlite"}, "unknown option --fast"},
  };
  for (const Case& c : bad) {
    const RunResult run = Import(c.args);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_THAT(run.err, StartsWith("quellor-import: " + c.problem + "\nusage: quellor-import"));
  }
}

}  // namespace
}  // namespace quellor::testing
