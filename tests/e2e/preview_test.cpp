// A preview is the build: on two machines holding the same projects, a preview on one and the
// build on the other report the same lines in the same order, and the preview leaves every
// file and folder of its machine as it was (mode, size, modification time and bytes), the
// project database included.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "build_machine.h"
#include "driver/build_driver.h"
#include "driver/preview.h"
#include "platform/env.h"
#include "platform/file_system.h"
#include "testing/background_process.h"
#include "testing/lock_holder.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

namespace fs = std::filesystem;
using testing::BuildMachine;
using testing::RunResult;

const fs::path kPlant = QUELLOR_PLANT_DIR;
constexpr char kProject[] = "Plant";

using Snapshot = std::map<std::string, std::string>;

// Every entry under `root` (itself included): its mode, size, modification time, and its bytes'
// checksum or its link's target. Access times aside.
void AddEntries(const fs::path& root, const std::string& label, Snapshot& snapshot) {
  auto describe = [&](const fs::path& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return;
    std::string what = std::to_string(st.st_mode) + " " + std::to_string(st.st_size) + " " +
                       std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
    if (S_ISREG(st.st_mode)) {
      what += " " + std::to_string(std::hash<std::string>{}(testing::ReadFile(path)));
    } else if (S_ISLNK(st.st_mode)) {
      what += " -> " + fs::read_symlink(path).string();
    }
    snapshot[label + "/" + fs::relative(path, root).string()] = what;
  };
  describe(root);
  for (const auto& entry : fs::recursive_directory_iterator(root)) describe(entry.path());
}

Snapshot SnapshotOf(const BuildMachine& machine) {
  Snapshot snapshot;
  AddEntries(machine.drive(), "C:", snapshot);
  AddEntries(machine.prefix(), "prefix", snapshot);
  return snapshot;
}

// A run's text with the machine's own folders named alike on every machine.
std::string Normalized(std::string text, const BuildMachine& machine) {
  for (const auto& [folder, name] :
       {std::pair{machine.drive().string(), std::string("<C:>")},
        std::pair{machine.prefix().string(), std::string("<prefix>")}}) {
    for (std::size_t at; (at = text.find(folder)) != std::string::npos;) {
      text.replace(at, folder.size(), name);
    }
  }
  return text;
}

// Hostile values in the columns the build reads: quotes, format directives, path escapes,
// separators, line ends, a long name, NULLs and a value of the wrong type.
constexpr char kHostileSql[] = R"sql(
INSERT INTO Blocks (BlockId, NodeName) VALUES (900, NULL);
INSERT INTO Tags (TagName, BlockId) VALUES ('Q''"%s%n', 101), ('..\..\escaped', 101),
  ('tab	and' || char(13, 10) || 'lines', 900), (printf('%.300c', 'L'), 201);
INSERT INTO TrendData (TagName, FieldName, SubfieldName, FixFldName, RecordType, FldRenderedType,
  FixFldRenderedType, FullDesc, Units, HiRange, LoRange, Logged, InTouchTrend, HistorianTrend, Seq)
VALUES
  ('Q''"%s%n', 'PV', '', '', 'BlkTag', 8, 0, '100%d %s', 'x', 'not a number', NULL, 1, 1, 1, 1),
  ('..\..\escaped', 'PV', '', '', 'BlkTag', 8, 0, NULL, NULL, 1, 0, 1, 1, 1, 1),
  ('tab	and' || char(13, 10) || 'lines', 'PV', '', '', 'BlkTag', 8, 0, 'd', '', 1, 0, 1, 1, 1, 1),
  (printf('%.300c', 'L'), 'PV', '', '', 'FldTag', 8, 0, printf('%.1000c', 'D'), '', 1, 0, 1, 1, 1, 1);
INSERT INTO InTouchAppNames (InTouchAppName) VALUES ('..\..\Outside'), ('a/b\c');
INSERT INTO ClientAppAccessNames (InTouchAppName, ApplicationName, AccessName, Seq) VALUES
  ('..\..\Outside', 'View', 'PLC_AREA1', 1), ('a/b\c', 'View', NULL, 1);
)sql";

// Changes between builds: a range, a removed field, a block moved to another server, a new tag
// and a new application (which needs the shell application copied).
constexpr char kChangesSql[] = R"sql(
UPDATE TrendData SET HiRange = 250 WHERE TagName = 'TIC101' AND FieldName = 'PV';
DELETE FROM TrendData WHERE TagName = 'TIC101' AND FieldName = 'OUT';
UPDATE Blocks SET NodeName = 'PN2' WHERE BlockId = 201;
INSERT INTO Tags (TagName, BlockId) VALUES ('TI800', 101);
INSERT INTO TrendData (TagName, FieldName, SubfieldName, FixFldName, RecordType, FldRenderedType,
  FixFldRenderedType, FullDesc, Units, HiRange, LoRange, Logged, InTouchTrend, HistorianTrend, Seq)
VALUES ('TI800', 'PV', '', '', 'BlkTag', 8, 0, 'Jacket temperature', 'C', 150, 0, 1, 1, 1, 1);
INSERT INTO InTouchAppNames (InTouchAppName) VALUES ('Unit4');
INSERT INTO ClientAppAccessNames (InTouchAppName, ApplicationName, AccessName, Seq) VALUES
  ('Unit4', 'View', 'PLC_AREA1', 1);
)sql";

// Two machines kept in the same state: the preview runs on one, the build on the other, and
// then the build on the first too.
class Preview : public ::testing::Test {
 protected:
  void OnBoth(const std::function<void(const BuildMachine&)>& change) {
    change(preview_machine_);
    change(build_machine_);
  }

  void AddPlant(const std::string& extra_sql = "") {
    OnBoth([&](const BuildMachine& machine) {
      fs::create_directories(machine.ProjectDir(kProject));
      testing::CreateProjectDatabase(machine.ProjectDir(kProject) / "Project.mdb",
                                     testing::ReadFile(kPlant / "plant.sql") + extra_sql);
    });
  }

  void RunSql(const std::string& sql) {
    OnBoth([&](const BuildMachine& machine) {
      testing::RunSql(machine.ProjectDir(kProject) / "Project.mdb", sql);
    });
  }

  testing::RunOptions PreviewOptions() const {
    testing::RunOptions options;
    options.env = {{"QUELLOR_PREFIX", preview_machine_.prefix().string()}, {"LC_ALL", "C"}};
    return options;
  }

  RunResult RunPreview(bool by_environment) const {
    testing::RunOptions options = PreviewOptions();
    std::vector<std::string> args = {BuildMachine::ProjectLine(kProject)};
    if (by_environment) {
      options.env.emplace_back("QUELLOR_PREVIEW", "1");
    } else {
      args.insert(args.begin(), "--preview");
    }
    return testing::RunBinary(testing::BinaryPath("quellor"), args, options);
  }

  fs::path AppFolder(const BuildMachine& machine, const std::string& app) const {
    return machine.ProjectDir(kProject) / "FactorySuite" / "Clients" / "InTApps" / app;
  }

  // The preview reports what the build reports, line for line, and writes nothing; then the
  // preview's machine is built too, so that both go on alike.
  void ExpectPreviewIsTheBuild(const std::string& what, bool by_environment = false) {
    SCOPED_TRACE(what);
    const Snapshot before = SnapshotOf(preview_machine_);
    RunResult preview = RunPreview(by_environment);
    EXPECT_EQ(SnapshotOf(preview_machine_), before);
    const RunResult build = build_machine_.Build(kProject);
    EXPECT_EQ(preview.exit_code, build.exit_code);
    ASSERT_TRUE(preview.out.ends_with(kNothingWrittenLine)) << preview.out;
    preview.out.resize(preview.out.size() - kNothingWrittenLine.size());
    EXPECT_EQ(Normalized(preview.out, preview_machine_), Normalized(build.out, build_machine_));
    EXPECT_EQ(Normalized(preview.err, preview_machine_), Normalized(build.err, build_machine_));
    EXPECT_NE(build.out.find("Tagname.X"), std::string::npos) << "the build built nothing";
    ASSERT_EQ(preview_machine_.Build(kProject).out, build.out);
  }

  BuildMachine preview_machine_;
  BuildMachine build_machine_;
};

TEST_F(Preview, ReportsTheSamplePlantsBuildsAndWritesNothing) {
  AddPlant();
  ExpectPreviewIsTheBuild("the first build: every application new, the shell copied");
  ExpectPreviewIsTheBuild("an unchanged rebuild", /*by_environment=*/true);
  RunSql(kChangesSql);
  ExpectPreviewIsTheBuild("a rebuild after changes and a new application");
}

TEST_F(Preview, EndsWithItsLineWhereAnOldFormatDictionaryEndsTheBuild) {
  AddPlant();
  ExpectPreviewIsTheBuild("the first build");
  OnBoth([&](const BuildMachine& machine) {
    const fs::path dictionary = AppFolder(machine, "Unit1") / "Tagname.X";
    std::string bytes = testing::ReadFile(dictionary);
    bytes[4] = 8;  // the header's version
    testing::WriteFile(dictionary, bytes);
  });
  ExpectPreviewIsTheBuild("a build that ends with exit code 1");
}

TEST_F(Preview, WaitsForTheApplicationFolderABuildHolds) {
  AddPlant();
  ASSERT_EQ(preview_machine_.Build(kProject).exit_code, 0);
  const Snapshot before = SnapshotOf(preview_machine_);
  testing::LockHolder build(AppFolder(preview_machine_, "Packaging"));
  testing::BackgroundProcess preview(testing::BinaryPath("quellor"),
                                     {"--preview", BuildMachine::ProjectLine(kProject)},
                                     PreviewOptions());
  // The preview's last line before it takes the folder's lock.
  std::string line;
  do {
    line = preview.ReadOutputLine();
  } while (!line.empty() && !line.starts_with("Modifying existing InTouch application Packaging"));
  ASSERT_FALSE(line.empty()) << "the preview ended without reaching the application folder";
  build.Release();
  const RunResult result = preview.Wait();
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out.find("ERROR"), std::string::npos) << result.out;
  EXPECT_TRUE(result.out.ends_with(kNothingWrittenLine)) << result.out;
  EXPECT_EQ(SnapshotOf(preview_machine_), before);
}

TEST_F(Preview, ReportsBuildsOfHostileProjectDataAndWritesNothing) {
  AddPlant(kHostileSql);
  ExpectPreviewIsTheBuild("the first build of hostile data");
  ExpectPreviewIsTheBuild("its rebuild");
}

// A tree whose files and folders its user may not write: every write, creation, mode change,
// rename and removal is refused as the operating system refuses it (the tests run as root).
class NotWritableTree final : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;

  Result<std::unique_ptr<File>> Open(const std::string& path, const OpenOptions& options) override {
    if (options.access == FileAccess::kReadWrite) return Refused(path);
    Result<std::unique_ptr<File>> file = target().Open(path, options);
    if (!file.ok()) return file.status();
    return std::unique_ptr<File>(std::make_unique<ReadOnlyFile>(std::move(file).value()));
  }
  Status Rename(const std::string&, const std::string& to, RenameMode) override {
    return Refused(to);
  }
  Status Remove(const std::string& path) override { return Refused(path); }
  Status MakeDirectory(const std::string& path) override { return Refused(path); }
  Status Symlink(const std::string&, const std::string& path) override { return Refused(path); }

 private:
  class ReadOnlyFile final : public ForwardingFile {
   public:
    using ForwardingFile::ForwardingFile;
    Status WriteAt(std::uint64_t, std::span<const std::uint8_t>) override {
      return Refused(path());
    }
    Status Extend(std::uint64_t) override { return Refused(path()); }
    Status SetMode(std::uint32_t) override { return Refused(path()); }
  };

  static Status Refused(const std::string& path) {
    return Status::PermissionDenied(path + ": Permission denied");
  }
};

TEST_F(Preview, OnATreeItMayNotWriteReportsWhatABuildOnAWritableCopyReports) {
  AddPlant();
  ASSERT_EQ(preview_machine_.Build(kProject).exit_code, 0);
  ASSERT_EQ(build_machine_.Build(kProject).exit_code, 0);
  RunSql(kChangesSql);
  const Snapshot before = SnapshotOf(preview_machine_);
  NotWritableTree not_writable(Env::Default().file_system());
  std::vector<std::string> preview;
  std::vector<std::string> refused_build;
  {
    const ScopedFileSystemOverride in_place(not_writable);
    preview = preview_machine_.PreviewInProcess(kProject);
    refused_build = preview_machine_.BuildInProcess(kProject);
  }
  EXPECT_EQ(SnapshotOf(preview_machine_), before);
  const std::vector<std::string> build = build_machine_.BuildInProcess(kProject);
  EXPECT_EQ(preview, build);
  // The tree is really not writable: a build on it fails where the preview did not.
  EXPECT_NE(refused_build, build);
}

}  // namespace
}  // namespace quellor
