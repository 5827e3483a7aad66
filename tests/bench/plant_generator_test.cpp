// The scale benchmark's plants: the tag count the table is labelled with must be the count the
// merge makes, the same for the same size and seed, and the change step must touch about 1%.
#include "plant_generator.h"

#include <gtest/gtest.h>

#include <string>

#include "accessnames/acc_names.h"
#include "projectdb/project_query.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "testing/project_database.h"
#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor::bench {
namespace {

namespace fs = std::filesystem;
using ::quellor::testing::QueryOne;
using ::quellor::testing::TempDir;
using ::quellor::testing::WriteFile;

// Every row of the trend table in its order, as one text.
constexpr char kAllTrendRows[] =
    "SELECT group_concat(TagName || '|' || FieldName || '|' || SubfieldName || '|' || "
    "FixFldName || '|' || RecordType || '|' || FullDesc || '|' || Units || '|' || HiRange || "
    "'|' || Logged || '|' || HistorianTrend, ';') FROM (SELECT * FROM TrendData ORDER BY Seq)";

AccName_T Pelnet(const char* name, const char* server, int id) {
  AccName_T record;
  record.SourceName = name;
  record.TopicName = name;
  record.MasterServer = server;
  record.ApplicationName = "PelnetData";
  record.DDESourceID = id;
  return record;
}

// Merges the plant's trend rows into an empty dictionary (or the shell application's) for an
// application on both areas; the tags processed.
std::int32_t MergedTags(const GeneratedPlant& plant, const TempDir& app,
                        std::vector<ReportedMessage>* messages = nullptr, bool from_shell = false) {
  for (const char* file : {"Tagname.X", "Tag_Ext.X"}) {
    const fs::path shell = fs::path(QUELLOR_PLANT_DIR) / "shell" / file;
    WriteFile(app.path() / file, from_shell ? testing::ReadFile(shell) : "");
  }
  ResetTagDll();
  EXPECT_EQ(TagDll().AttachProjectDb(plant.database.c_str()), 0);
  CAccNames names;
  names.AppendRecord(Pelnet("PLC_001", "SCADA1", 1));
  names.AppendRecord(Pelnet("PLC_002", "SCADA3", 2));
  std::int32_t processed = 0;
  {
    ScopedReportCapture capture;
    CTagDict dict(TagDictOptions{.folder = app.path().string(),
                                 .access_names = &names,
                                 .app_access_names = {0, 1},
                                 .update_dde_points = true,
                                 .discrete_as_integer = true});
    LoadProjectTags(dict);
    processed = dict.counters().ProcessedTotal;
    if (messages != nullptr) *messages = capture.messages();
  }
  TagDll().ReleaseProjectDb();
  return processed;
}

TEST(PlantGeneratorTest, MergeMakesExactlyTheTagsAskedForOnBothAreas) {
  for (const std::int32_t size : {1, 5, 997, 3000}) {
    SCOPED_TRACE(size);
    const TempDir root, app;
    const GeneratedPlant plant = GeneratePlant(root.path() / "plant", size, 7);
    EXPECT_EQ(plant.tags, size);
    EXPECT_EQ(MergedTags(plant, app), size);
  }
}

TEST(PlantGeneratorTest, TheLargestPlantFillsTheShellsDictionaryAndOneTagMoreIsRefused) {
  const TempDir root, app;
  const std::int32_t largest = LargestPlant();
  const GeneratedPlant plant = GeneratePlant(root.path() / "plant", largest, 3);
  std::vector<ReportedMessage> messages;
  EXPECT_EQ(MergedTags(plant, app, &messages, /*from_shell=*/true), largest);
  for (const ReportedMessage& message : messages) EXPECT_NE(message.level, 2) << message.text;
  EXPECT_EQ(fs::file_size(app.path() / "Tagname.X"), 1024u * 60001);

  const testing::RunResult refused =
      testing::RunBinary(testing::BinaryPath("make_project"),
                         {"plant", (root.path() / "big").string(), std::to_string(largest + 1)});
  EXPECT_EQ(refused.exit_code, 2);
  EXPECT_EQ(refused.err, "make_project: " + std::to_string(largest + 1) +
                             " tags do not fit: a dictionary holds 60000 records, " +
                             std::to_string(60000 - largest) +
                             " of them the shell application's; the largest plant has " +
                             std::to_string(largest) + " tags\n");
  EXPECT_FALSE(fs::exists(root.path() / "big"));
}

TEST(PlantGeneratorTest, SameSizeAndSeedGiveTheSameProjectAndAnotherSeedAnother) {
  const TempDir root;
  const auto first = GeneratePlant(root.path() / "a", 2000, 3);
  const auto again = GeneratePlant(root.path() / "b", 2000, 3);
  const auto other = GeneratePlant(root.path() / "c", 2000, 4);
  const std::string rows = QueryOne(first.database, kAllTrendRows);
  EXPECT_EQ(rows, QueryOne(again.database, kAllTrendRows));
  EXPECT_NE(rows, QueryOne(other.database, kAllTrendRows));
  EXPECT_EQ(first.rows, std::stoi(QueryOne(first.database, "SELECT count(*) FROM TrendData")));
}

TEST(PlantGeneratorTest, PlantHasTheMachineFoldersAndTheProjectsShape) {
  const TempDir root;
  const auto plant = GeneratePlant(root.path() / "plant", 500, 1);
  const auto base = root.path() / "plant";
  EXPECT_TRUE(std::filesystem::exists(base / "prefix" / "machine.reg"));
  EXPECT_TRUE(std::filesystem::exists(base / "prefix" / "dosdevices" / "c:" / "InTouch"));
  EXPECT_TRUE(std::filesystem::exists(base / "c" / "Corvane" / "InTouchShell" / "Tagname.X"));
  EXPECT_EQ(plant.database, base / "c" / "Projects" / "Plant" / "Project.mdb");
  const auto count = [&](const std::string& sql) { return QueryOne(plant.database, sql); };
  EXPECT_EQ(count("SELECT count(*) FROM AccessNames"), "300");
  EXPECT_EQ(count("SELECT count(*) FROM AccessNames WHERE ServerApplication = 'PelnetData'"),
            "240");
  EXPECT_EQ(count("SELECT count(DISTINCT MasterServerComputerName) FROM AccessNames "
                  "WHERE ServerApplication = 'PelnetData'"),
            "2");
  EXPECT_EQ(count("SELECT count(DISTINCT ApplicationName) FROM ClientAppAccessNames"), "2");
  EXPECT_EQ(count("SELECT count(*) FROM InTouchAppNames"), "3");
  // Every top-level tag reaches a server computer.
  EXPECT_EQ(count("SELECT count(*) FROM Tags AS t JOIN Blocks AS b ON b.BlockId = t.BlockId "
                  "JOIN ServerComputerPortToNodes AS n ON n.NodeName = b.NodeName"),
            std::to_string(plant.trees));
  EXPECT_NE(count("SELECT count(*) FROM TrendData WHERE Logged = 0"), "0");
}

TEST(PlantGeneratorTest, GeneratorRefusesARootThatExists) {
  const TempDir root;
  EXPECT_EXIT(GeneratePlant(root.path(), 10, 1), ::testing::ExitedWithCode(2), "already exists");
}

TEST(PlantGeneratorTest, ChangeTouchesOneTreeInAHundredAndNothingElse) {
  const TempDir root;
  const auto plant = GeneratePlant(root.path() / "plant", 6000, 1);
  const std::string before = QueryOne(plant.database, "SELECT count(*) FROM TrendData");
  const std::int32_t changed = ChangeTags(plant.database, 5);
  EXPECT_EQ(changed, plant.trees / 100);
  EXPECT_EQ(QueryOne(plant.database,
                     "SELECT count(DISTINCT TagName) FROM TrendData WHERE FullDesc LIKE "
                     "'%(changed)'"),
            std::to_string(changed));
  EXPECT_EQ(QueryOne(plant.database, "SELECT count(*) FROM TrendData"), before);
}

}  // namespace
}  // namespace quellor::bench
