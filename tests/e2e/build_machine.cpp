#include "build_machine.h"

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "base/ascii.h"
#include "driver/build_driver.h"
#include "driver/preview.h"
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

// quellor-dump's output for one file or folder; a dump that fails marks the test.
std::string Dump(const std::string& what, const std::filesystem::path& path) {
  const RunResult dump = RunBinary(BinaryPath("quellor-dump"), {what, path.string()});
  EXPECT_EQ(dump.exit_code, 0) << what << " " << path << " does not parse:\n" << dump.err;
  return dump.out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
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

std::vector<std::string> BuildMachine::PreviewInProcess(const std::string& name) const {
  const ScopedEnv prefix("QUELLOR_PREFIX", prefix_.path().string());
  const ScopedReportCapture capture;
  RunPreview(ProjectLine(name), BinaryPath("libtagdll.so").string());
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

std::map<std::string, std::string> DictionaryByName(const std::filesystem::path& app) {
  static const std::regex kRecord(
      R"re(^\s+(\d+) "(.*)" type (\d+) parent (\d+) alarm group (\d+) access name (\d+)$)re");
  static const std::regex kMembers(R"re(^\s+members \d+: (.*)$)re");
  static const std::regex kNdx(R"re(^\s+(\d+) "(.*)"$)re");
  static const std::regex kPoint(R"re(^\s+(.*);([0-9a-f]+):  .*$)re");
  static const std::regex kSource(R"re(^\s+Source Name:\t\t(.*)$)re");
  static const std::regex kSourceId(R"re(^\s+DDE Source ID:\t\t(\d+)$)re");

  std::map<long, std::string> names;
  std::map<long, std::vector<std::string>> fields;  // type, parent, alarm group, access name
  std::map<long, std::vector<long>> members;
  long last = 0;
  std::smatch m;
  for (const std::string& line : Lines(Dump("tagname", app))) {
    if (std::regex_match(line, m, kRecord)) {
      last = std::stol(m[1]);
      names[last] = m[2];
      fields[last] = {m[3], m[4], m[5], m[6]};
    } else if (std::regex_match(line, m, kMembers)) {
      std::istringstream list(m[1].str());
      for (long member; list >> member;) members[last].push_back(member);
    }
  }
  std::map<long, std::string> indexed;
  for (const std::string& line : Lines(Dump("ndx", app / "Tagnames.NDX"))) {
    if (std::regex_match(line, m, kNdx)) indexed[std::stol(m[1])] = m[2];
  }
  EXPECT_EQ(indexed, names) << app << ": Tagnames.NDX does not match Tagname.X";

  std::map<std::string, std::string> sources;  // DDE Source ID -> Source Name
  std::string source;
  for (const std::string& line : Lines(ReadFile(app / "DDE.CFG"))) {
    const std::string text = line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
    if (std::regex_match(text, m, kSource)) source = m[1];
    if (std::regex_match(text, m, kSourceId)) sources[m[1]] = source;
    if (std::regex_match(text, m, kPoint)) {
      const long record = std::stol(m[2], nullptr, 16);
      EXPECT_TRUE(names.contains(record) && names[record] == m[1].str())
          << app << ": the point " << m[1] << " names record " << record;
    }
  }
  (void)Dump("ddecfg", app / "DDE.CFG");
  (void)Dump("tagbrw", app / "TagBrw.DAT");

  std::map<std::string, std::string> by_name;
  for (const auto& [record, name] : names) {
    const auto& f = fields[record];
    std::string entry = "type " + f[0] + " alarm group " + f[2] + " access name " +
                        (f[3] == "0" ? "" : sources[f[3]]) + " parent " +
                        (f[1] == "0" ? "" : names[std::stol(f[1])]) + " members";
    for (const long member : members[record]) entry += " " + names[member];
    by_name[name] = entry;
  }
  return by_name;
}

}  // namespace quellor::testing
