// A machine for end-to-end builds, laid out as the sample plant's: a prefix holding the plant's
// registry (the shell application at C:\Corvane\InTouchShell, AppList.INI in C:\InTouch, the
// comma as list separator), drive C: on a temporary folder, and project folders in
// C:\Projects. The hardening tests build on it through the binary and, where they need to
// count or fail the file service's calls, with the driver in-process.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "testing/project_database.h"
#include "testing/run_binary.h"
#include "testing/temp_prefix.h"

namespace quellor::testing {

// Every regular file under a folder by its path relative to it, with its bytes.
using FileTree = std::map<std::string, std::string>;

class BuildMachine final {
 public:
  BuildMachine();

  const std::filesystem::path& drive() const { return drive_.path(); }
  const std::filesystem::path& prefix() const { return prefix_.path(); }
  // The host folder of C:\Projects\<name>.
  std::filesystem::path ProjectDir(const std::string& name) const;
  // The command line that builds C:\Projects\<name>\Project.mdb.
  static std::string ProjectLine(const std::string& name);

  // C:\Projects\<name>\Project.mdb from the project schema, the project's build flag set,
  // then `sql`.
  void AddProject(const std::string& name, const std::string& sql = "") const;
  // The same with the benchmarks' generated project of `tags` tags (bench/project_generator.h).
  void AddGeneratedProject(const std::string& name, std::int32_t tags, std::uint32_t seed) const;

  // Runs quellor on the project with this machine's prefix and `env` on top.
  RunResult Build(
      const std::string& name,
      const std::vector<std::pair<std::string, std::optional<std::string>>>& env = {}) const;
  // Runs the driver in this process on the project, on this machine; its messages are
  // returned as console lines.
  std::vector<std::string> BuildInProcess(const std::string& name) const;
  // The same as a preview (driver/preview.h).
  std::vector<std::string> PreviewInProcess(const std::string& name) const;

  // Replaces everything on drive C: by a copy of `other`'s drive C:.
  void CopyDriveFrom(const BuildMachine& other) const;

 private:
  TempDir drive_;
  TempPrefix prefix_;
};

FileTree ReadTree(const std::filesystem::path& root);

// Whether a file of the drive is one the build replaces whole (never written in place): not
// the project database or its journal, not Tagname.X or Tag_Ext.X (updated by record), not a
// temporary file of a replacement, not a file of the shell application itself.
bool IsWholeFileOutput(const std::string& relative_path);

// An application's dictionary by tag name: each tag's type, alarm group, access name (by its
// source name), parent and members (by name). Marks the test failed where Tagnames.NDX does
// not name every record as Tagname.X does, where a point of DDE.CFG does not name the record
// it points at, or where quellor-dump cannot read Tagname.X, Tagnames.NDX, DDE.CFG or
// TagBrw.DAT.
std::map<std::string, std::string> DictionaryByName(const std::filesystem::path& app_folder);

// The whole-file outputs of the builds on a machine's drive C:.
FileTree WholeFileOutputs(const BuildMachine& machine);

}  // namespace quellor::testing
