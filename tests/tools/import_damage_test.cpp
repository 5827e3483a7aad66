// The real import program over cut and bit-flipped copies of both real Access files. Each
// copy gives a clean failure (exit 1 and the one line "the Access file ... cannot be read:
// ...") or a sound database (exit 0, SQLite's integrity check passes, every table is there
// with all its rows: damage may change values, never lose rows). mdbtools' library is not hardened:
// death by a signal is accepted and reported (the build runs the import under a watchdog), a hang
// is not.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "access/access_test_files.h"
#include "testing/project_database.h"
#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor::testing {
namespace {

constexpr int kTimedOut = 124;  // timeout(1)'s exit code
constexpr unsigned kSeed = 20240601;

struct Damage {
  std::string what;
  std::function<void(std::string&)> apply;
  bool guarded = false;  // a damage the import checks for before the library meets it
};

std::vector<Damage> Damages(std::size_t size, std::size_t page) {
  const std::size_t pages = size / page;
  std::vector<Damage> damages;
  const auto cut = [&](std::size_t bytes) {
    damages.push_back({"cut to " + std::to_string(bytes) + " bytes",
                       [bytes](std::string& b) { b.resize(bytes); }});
  };
  for (const std::size_t kept : {3ul, 6ul, 12ul, pages / 4, pages / 2, pages - 1}) {
    cut(kept * page);
  }
  cut(pages / 2 * page + 7);
  const auto flip = [&](std::size_t offset, int bit) {
    damages.push_back(
        {"bit " + std::to_string(bit) + " of byte " + std::to_string(offset),
         [offset, bit](std::string& b) { b[offset] ^= static_cast<char>(1 << bit); }});
  };
  // The catalog's definition (page 2) and the first pages after it, then anywhere.
  for (const std::size_t offset : {10ul, 40ul, 45ul, 60ul, 100ul, 300ul, 700ul}) {
    flip(2 * page + offset, 7);
    flip(3 * page + offset, 0);
  }
  std::mt19937 random(kSeed);
  for (int i = 0; i < 30; ++i) flip(random() % size, static_cast<int>(random() % 8));
  for (int i = 0; i < 6; ++i) {
    const std::size_t start = (2 + random() % (pages - 2)) * page;
    damages.push_back({"16 bytes of 0xFF at " + std::to_string(start),
                       [start](std::string& b) { b.replace(start + 8, 16, 16, '\xFF'); }});
  }
  return damages;
}

// "name:rows|..." for every imported table of an SQLite database. (A saved query that damage
// made undecodable is left out with a warning, by design.)
std::string TableRows(const std::string& database) {
  std::string rows;
  const std::string names = QueryOne(database,
                                     "SELECT group_concat(name, '|') FROM sqlite_master "
                                     "WHERE type = 'table' AND name <> 'SavedQueries'");
  for (std::size_t start = 0; start <= names.size();) {
    std::size_t end = names.find('|', start);
    if (end == std::string::npos) end = names.size();
    const std::string name = names.substr(start, end - start);
    rows += name + ":" + QueryOne(database, "SELECT count(*) FROM \"" + name + "\"") + "|";
    start = end + 1;
  }
  return rows;
}

RunResult RunImport(const std::string& access_file, const std::string& target) {
  return RunBinary("/usr/bin/timeout",
                   {"60", BinaryPath("quellor-import").string(), access_file, target});
}

void ExpectCleanFailureOrSoundDatabase(std::string_view file, std::size_t page,
                                       const std::vector<Damage>& also = {}) {
  const std::string original = ReadFile(AccessTestFile(file));
  TempDir sound;
  ASSERT_EQ(RunImport(AccessTestFile(file).string(), sound.Join("sound.sqlite")).exit_code, 0);
  const std::string all_rows = TableRows(sound.Join("sound.sqlite"));
  std::vector<Damage> damages = Damages(original.size(), page);
  damages.insert(damages.end(), also.begin(), also.end());
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    TempDir dir;
    const auto copy = ChangedCopy(dir, file, "Project.mdb", damage.apply);
    const std::string target = dir.Join("out.sqlite");
    const RunResult run = RunImport(copy.string(), target);
    if (run.exit_code == 0) {
      EXPECT_EQ(QueryOne(target, "PRAGMA integrity_check"), "ok");
      EXPECT_EQ(TableRows(target), all_rows);
      EXPECT_EQ(QueryOne(target, "SELECT count(*) > 0 FROM SavedQueries"), "1");
    } else if (run.exit_code == 1) {
      // The library's own complaints may come first; the import's line ends the output.
      EXPECT_THAT(run.err, ::testing::ContainsRegex("(^|\n)the Access file " + copy.string() +
                                                    " cannot be read: [^\n]+\n$"));
      EXPECT_FALSE(std::filesystem::exists(target));
    } else if (run.exit_code > 128 && run.exit_code != kTimedOut && !damage.guarded) {
      std::cout << file << ", " << damage.what << ": the library died by signal "
                << run.exit_code - 128 << "\n";
    } else {
      ADD_FAILURE() << "exit code " << run.exit_code << ": " << run.err;
    }
  }
}

TEST(ImportDamageTest, DamagedJet3FileFailsCleanlyOrImportsSoundly) {
  // The catalog's definition (page 2) names the row of its map of pages at 35: a row of no
  // bytes made the library read through a null pointer.
  ExpectCleanFailureOrSoundDatabase(
      kNwind, 2048,
      {{"the catalog's map of pages in row 0x5C", [](std::string& b) { b[0x1023] = 0x5C; }, true}});
}

TEST(ImportDamageTest, DamagedAceFileFailsCleanlyOrImportsSoundly) {
  ExpectCleanFailureOrSoundDatabase(kAssets, 4096);
}

}  // namespace
}  // namespace quellor::testing
