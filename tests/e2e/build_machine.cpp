#include "build_machine.h"

#include <algorithm>
#include <cstdlib>

#include "base/ascii.h"
#include "driver/build_driver.h"
#include "project_generator.h"
#include "report/report.h"
#include "testing/project_database.h"

namespace quellor::testing {
namespace fs = std::filesystem;

namespace {

const fs::path kPlant = QUELLOR_PLANT_DIR;

std::string FileName(const std::string& relative_path) {
  return fs::path(relative_path).filename().string();
}

}  // namespace

BuildMachine::BuildMachine() {
  prefix_.AddFile("machine.reg", ReadFile(kPlant / "prefix" / "machine.reg"));
  prefix_.MapDrive('c', drive_.path());
  fs::create_directories(drive_.path() / "Projects");
  fs::create_directories(drive_.path() / "InTouch");
  fs::create_directories(drive_.path() / "Corvane");
  fs::copy(kPlant / "shell", drive_.path() / "Corvane" / "InTouchShell");
}

fs::path BuildMachine::ProjectDir(const std::string& name) const {
  return drive_.path() / "Projects" / name;
}

std::string BuildMachine::ProjectLine(const std::string& name) {
  return "C:\\Projects\\" + name + "\\Project.mdb";
}

void BuildMachine::AddProject(const std::string& name, const std::string& sql) const {
  fs::create_directories(ProjectDir(name));
  CreateProjectDatabase(ProjectDir(name) / "Project.mdb",
                        "INSERT INTO ProjectFlags VALUES (1);" + sql);
}

void BuildMachine::AddGeneratedProject(const std::string& name, std::int32_t tags,
                                       std::uint32_t seed) const {
  fs::create_directories(ProjectDir(name));
  bench::GenerateProject(ProjectDir(name) / "Project.mdb", tags, seed);
  RunSql(ProjectDir(name) / "Project.mdb", "INSERT INTO ProjectFlags VALUES (1);");
}

RunResult BuildMachine::Build(
    const std::string& name,
    const std::vector<std::pair<std::string, std::optional<std::string>>>& env) const {
  RunOptions options;
  options.env = {{"QUELLOR_PREFIX", prefix_.path().string()}, {"LC_ALL", "C"}};
  options.env.insert(options.env.end(), env.begin(), env.end());
  return RunBinary(BinaryPath("quellor"), {ProjectLine(name)}, options);
}

std::vector<std::string> BuildMachine::BuildInProcess(const std::string& name) const {
  const ScopedEnv prefix("QUELLOR_PREFIX", prefix_.path().string());
  const ScopedReportCapture capture;
  RunBuild(ProjectLine(name), BinaryPath("libtagdll.so").string());
  return capture.lines();
}

void BuildMachine::CopyDriveFrom(const BuildMachine& other) const {
  for (const auto& entry : fs::directory_iterator(drive_.path())) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(entry.path());
  }
  fs::copy(other.drive(), drive_.path(),
           fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

FileTree ReadTree(const fs::path& root) {
  FileTree tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || entry.is_symlink()) continue;
    tree[fs::relative(entry.path(), root).string()] = ReadFile(entry.path());
  }
  return tree;
}

bool IsWholeFileOutput(const std::string& relative_path) {
  const std::string name = ToUpperAscii(FileName(relative_path));
  if (relative_path.starts_with("Corvane/")) return false;
  if (name.starts_with(".~")) return false;
  if (name.starts_with("PROJECT.MDB")) return false;
  return name != "TAGNAME.X" && name != "TAG_EXT.X";
}

FileTree WholeFileOutputs(const BuildMachine& machine) {
  FileTree outputs;
  for (auto& [path, bytes] : ReadTree(machine.drive())) {
    if (IsWholeFileOutput(path)) outputs.emplace(path, std::move(bytes));
  }
  return outputs;
}

}  // namespace quellor::testing
