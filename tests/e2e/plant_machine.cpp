#include "plant_machine.h"

#include <cstdlib>

#include "base/le_codec.h"
#include "testing/project_database.h"

namespace quellor::testing {
namespace fs = std::filesystem;

namespace {

const fs::path kPlant = QUELLOR_PLANT_DIR;
const fs::path kExpected = QUELLOR_EXPECTED_DIR;

bool Rewriting() {
  const char* value = std::getenv("QUELLOR_WRITE_EXPECTED");
  return value != nullptr && *value != '\0' && std::string(value) != "0";
}

FileTree ReadTree(const fs::path& root, const std::vector<fs::path>& skipped) {
  FileTree tree;
  if (!fs::exists(root)) return tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = entry.path().lexically_relative(root);
    bool skip = false;
    for (const fs::path& prefix : skipped) {
      skip = skip || relative.string().starts_with(prefix.string());
    }
    if (!skip) tree[relative.generic_string()] = ReadFile(entry.path());
  }
  return tree;
}

}  // namespace

PlantMachine::PlantMachine(PlantQueries queries) {
  prefix_.AddFile("machine.reg", ReadFile(kPlant / "prefix" / "machine.reg"));
  prefix_.MapDrive('c', drive_.path());
  fs::create_directories(OnDrive("Projects/Plant"));
  fs::create_directories(OnDrive("Corvane"));
  fs::create_directories(OnDrive("InTouch"));
  fs::copy(kPlant / "shell", OnDrive("Corvane/InTouchShell"), fs::copy_options::recursive);
  std::string project_sql = ReadFile(kPlant / "plant.sql");
  if (queries == PlantQueries::kAccess) project_sql += ReadFile(kPlant / "access_queries.sql");
  CreateProjectDatabase(OnDrive("Projects/Plant/Project.mdb"), project_sql);
}

RunResult PlantMachine::Run(const std::string& command_line) const {
  RunOptions options;
  options.env = {{"QUELLOR_PREFIX", prefix_.path().string()}, {"LC_ALL", "C"}};
  return RunBinary(BinaryPath("quellor"), {command_line}, options);
}

void PlantMachine::RunSql(const std::string& sql) const {
  testing::RunSql(OnDrive("Projects/Plant/Project.mdb"), sql);
}

fs::path PlantMachine::AppDir(const std::string& app) const {
  return OnDrive("Projects/Plant/FactorySuite/Clients/InTApps/" + app);
}

FileTree PlantMachine::Outputs() const {
  return ReadTree(drive_.path(), {"Corvane", "Projects/Plant/Project.mdb"});
}

std::string Expected(const std::string& name, const std::string& actual) {
  const fs::path path = kExpected / name;
  if (Rewriting()) {
    fs::create_directories(path.parent_path());
    WriteFile(path, actual);
  }
  return fs::exists(path) ? ReadFile(path) : "(missing expected file " + path.string() + ")";
}

FileTree ExpectedTree(const std::string& folder, const FileTree& actual) {
  const fs::path root = kExpected / folder;
  if (Rewriting()) {
    fs::remove_all(root);
    for (const auto& [relative, bytes] : actual) {
      fs::create_directories((root / relative).parent_path());
      WriteFile(root / relative, bytes);
    }
  }
  return ReadTree(root, {});
}

int SaveCount(const std::string& bytes) {
  if (bytes.size() < 12) return -1;
  return static_cast<int>(LoadLe32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 8));
}

std::string WithSaveCount(std::string bytes, int count) {
  if (bytes.size() >= 12) {
    StoreLe32(reinterpret_cast<std::uint8_t*>(bytes.data()) + 8, static_cast<std::uint32_t>(count));
  }
  return bytes;
}

}  // namespace quellor::testing
