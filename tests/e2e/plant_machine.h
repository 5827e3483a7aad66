// The sample plant on a machine of the test's own, as `make demo` lays it out: drive C: with
// the project C:\Projects\Plant (Project.mdb made from the plant's SQL), the suite's shell
// application in C:\Corvane\InTouchShell and the HMI's application directory C:\InTouch.
//
// Expected outputs live in tests/e2e/expected/plant/: a transcript per run (`<name>.txt`) and
// the output files of the first build (`first/`, paths relative to drive C:). They were
// checked by hand with quellor-dump; QUELLOR_WRITE_EXPECTED=1 writes them again from the runs
// instead of comparing (then check the difference by hand before committing it).
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "testing/run_binary.h"
#include "testing/temp_dir.h"
#include "testing/temp_prefix.h"

namespace quellor::testing {

// Relative path (generic form, from drive C:) -> bytes.
using FileTree = std::map<std::string, std::string>;

// How the plant's project keeps its saved queries: as SQLite SQL (plant.sql), or as Access
// SQL that the library translates (access_queries.sql after it), as a real project's are.
enum class PlantQueries { kSqlite, kAccess };

class PlantMachine final {
 public:
  explicit PlantMachine(PlantQueries queries = PlantQueries::kSqlite);

  // Runs quellor with one command-line argument.
  RunResult Run(const std::string& command_line) const;
  // Runs quellor on the plant's project.
  RunResult Build() const { return Run("C:\\Projects\\Plant\\Project.mdb"); }
  // Changes the project between builds.
  void RunSql(const std::string& sql) const;

  // The host path of a path on drive C: ("Projects/Plant/...").
  std::filesystem::path OnDrive(const std::string& relative) const {
    return drive_.path() / relative;
  }
  // An application folder of the plant.
  std::filesystem::path AppDir(const std::string& app) const;
  // Every file Quellor wrote: everything on drive C: but the project database and the shell.
  FileTree Outputs() const;

 private:
  TempPrefix prefix_;
  TempDir drive_;
};

// The expected file `name` (relative to tests/e2e/expected/plant); with QUELLOR_WRITE_EXPECTED
// set, `actual` is written there first.
std::string Expected(const std::string& name, const std::string& actual);
// The expected output tree under `folder`; with QUELLOR_WRITE_EXPECTED set, `actual` replaces it.
FileTree ExpectedTree(const std::string& folder, const FileTree& actual);

// The save count (header offset 8) of a Tagname.X held in `bytes`; -1 when too short.
int SaveCount(const std::string& bytes);
// `bytes` with the save count of a Tagname.X set to `count`.
std::string WithSaveCount(std::string bytes, int count);

}  // namespace quellor::testing
