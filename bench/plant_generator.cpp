#include "plant_generator.h"

#include <sqlite3.h>

#include <algorithm>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "project_writer.h"

namespace quellor::bench {

namespace {

namespace fs = std::filesystem;

constexpr int kNodes = 16;    // PN01..PN08 reach SCADA1, PN09..PN16 reach SCADA3
constexpr int kBlocks = 400;  // spread over the nodes in turn
constexpr int kPelnetNames = 240;
constexpr int kRecipeNames = 40;
constexpr int kViewNames = 20;

std::string Numbered(const char* stem, int n, int width) {
  std::string digits = std::to_string(n);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return stem + digits;
}

std::string PelnetName(int n) { return Numbered("PLC_", n, 3); }
bool OnArea1(int pelnet) { return pelnet % 2 == 1; }  // odd names on SCADA1, even on SCADA3

std::string NetworkSql() {
  std::string sql =
      "INSERT INTO ProjectFlags VALUES (1);"
      "INSERT INTO PersistentData VALUES ('DeadbandFractionOfRange', 'InTouchTrend', '0.005');"
      "INSERT INTO PersistentData VALUES ('DeadbandAbsoluteValue', 'InTouchTrend', '1.0');"
      "INSERT INTO AlarmGroupNames VALUES (1, '$System');"
      "INSERT INTO ServerComputerPorts VALUES (1, 'SCADA1'), (2, 'SCADA3');";
  for (int n = 1; n <= kNodes; ++n) {
    const std::string node = Numbered("PN", n, 2);
    sql += "INSERT INTO PelnetNodes VALUES ('" + node + "');";
    sql += "INSERT INTO ServerComputerPortToNodes VALUES (" +
           std::to_string(n <= kNodes / 2 ? 1 : 2) + ", '" + node + "');";
  }
  for (int b = 1; b <= kBlocks; ++b) {
    sql += "INSERT INTO Blocks VALUES (" + std::to_string(b) + ", '" +
           Numbered("PN", (b - 1) % kNodes + 1, 2) + "');";
  }
  return sql;
}

std::string AccessNamesSql() {
  std::string sql;
  for (int n = 1; n <= kPelnetNames; ++n) {
    sql += "INSERT INTO AccessNames VALUES ('" + PelnetName(n) + "', '" +
           (n % 3 == 0 ? "Fast" : "") + "', " +
           (OnArea1(n) ? "'SCADA1', 'SCADA2'" : "'SCADA3', NULL") + ", 'PelnetData');";
  }
  for (int n = 1; n <= kRecipeNames; ++n) {
    sql += "INSERT INTO AccessNames VALUES ('" + Numbered("RECIPE_", n, 2) +
           "', 'RecipeData', 'OPS1', NULL, 'RecipeMgr');";
  }
  for (int n = 1; n <= kViewNames; ++n) {
    sql += "INSERT INTO AccessNames VALUES ('" + Numbered("HMI_", n, 2) +
           "', '', 'OPS1', NULL, 'View');";
  }
  return sql;
}

// The sample plant's three applications, each with "PelnetData" access names, so that each
// dictionary takes every tag (a remote access name serves a tag when no local one does).
std::string ApplicationsSql() {
  std::string sql = "INSERT INTO InTouchAppNames VALUES ('Unit1'), ('Unit2'), ('Packaging');";
  const auto use = [&sql](const char* app, const char* client, const std::string& name, int seq) {
    sql += std::string("INSERT INTO ClientAppAccessNames VALUES ('") + app + "', '" + client +
           "', '" + name + "', " + std::to_string(seq) + ");";
  };
  int seq = 0;
  for (int n = 1; n <= kPelnetNames; ++n) use("Unit1", "View", PelnetName(n), ++seq);
  use("Unit1", "View", "HMI_01", ++seq);
  seq = 0;
  for (int n = 1; n <= kRecipeNames; ++n) use("Unit1", "Recipe", Numbered("RECIPE_", n, 2), ++seq);
  use("Unit1", "Recipe", PelnetName(1), ++seq);
  seq = 0;
  for (int n = 2; n <= kPelnetNames; n += 2) use("Unit2", "View", PelnetName(n), ++seq);
  seq = 0;
  for (int n = 200; n <= kPelnetNames; ++n) use("Packaging", "View", PelnetName(n), ++seq);
  use("Packaging", "View", Numbered("RECIPE_", 1, 2), ++seq);
  return sql;
}

// The tag trees and the dictionary tags each makes in Unit1 (value members included).
enum Shape { kBlock, kBlockWithSubfields, kFieldTagWithFixedFields, kFieldTag, kFixedFieldTag };
constexpr std::int32_t kShapeTags[] = {4, 6, 4, 1, 1};

// Writes one tree's rows; the rows of one tree share its range, code and block.
void AddTree(ProjectWriter& writer, Shape shape, const std::string& name, std::mt19937& random) {
  static const char* const kUnits[] = {"\u00B0C", "bar", "%", "m3/h", ""};  // UTF-8 in the project
  static constexpr int kCodes[] = {1, 7, 8, 10};
  TrendRow row;
  row.tag = name;
  row.lo = static_cast<double>(random() % 100);
  row.hi = row.lo + 1.0 + static_cast<double>(random() % 10000);
  row.units = kUnits[random() % 5];
  row.block = 1 + random() % kBlocks;
  row.historian = random() % 4 != 0;
  const int code = kCodes[random() % 4];
  const auto add = [&](const char* field, const char* subfield, const char* fix, const char* type,
                       int field_code, int fix_code, int logged) {
    row.field = field, row.subfield = subfield, row.fix = fix, row.record_type = type;
    row.field_code = field_code, row.fix_code = fix_code, row.logged = logged;
    writer.Add(row);
  };
  switch (shape) {
    case kBlock:  // the group, a fixed field and two logged fields; the unlogged one adds none
      add("", "", "MODE", "BlkTag", 0, 7, 0);
      add("PV", "", "", "BlkTag", code, 0, 1);
      add("SP", "", "", "BlkTag", code, 0, 1);
      add("OUT", "", "", "BlkTag", code, 0, 0);
      break;
    case kBlockWithSubfields:  // the group, PV, ALM with two subfields and ALM's value member
      add("PV", "", "", "BlkTag", code, 0, 1);
      add("ALM", "HI", "", "BlkTag", 1, 0, 1);
      add("ALM", "LO", "", "BlkTag", 1, 0, 1);
      break;
    case kFieldTagWithFixedFields:  // the tag, two fixed fields and its value member
      add("", "", "X0", "FldTag", 0, code, 1);
      add("", "", "X1", "FldTag", 0, code, 1);
      break;
    case kFieldTag:
      add("", "", "", "FldTag", 0, code, random() % 2);
      break;
    case kFixedFieldTag:
      add("", "", "STATE", "FixFldTag", 0, 1, 1);
      break;
  }
}

void Copy(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::copy(from, to, fs::copy_options::recursive, error);
  if (error) Die(nullptr, ("cannot copy " + from.string()).c_str());
}

// The machine: registry, drive C: and its folders, the shell application.
fs::path LayOutMachine(const fs::path& root) {
  std::error_code error;
  if (fs::exists(root, error)) Die(nullptr, ("already exists: " + root.string()).c_str());
  const fs::path plant = QUELLOR_PLANT_DIR;
  const fs::path project = root / "c" / "Projects" / "Plant";
  for (const fs::path& folder :
       {root / "prefix" / "dosdevices", project, root / "c" / "Corvane", root / "c" / "InTouch"}) {
    if (!fs::create_directories(folder, error)) Die(nullptr, "cannot create the folders");
  }
  fs::create_directory_symlink("../../c", root / "prefix" / "dosdevices" / "c:", error);
  if (error) Die(nullptr, "cannot link drive C:");
  Copy(plant / "prefix" / "machine.reg", root / "prefix" / "machine.reg");
  Copy(plant / "shell", root / "c" / "Corvane" / "InTouchShell");
  return project / "Project.mdb";
}

}  // namespace

std::int32_t LargestPlant() {
  std::error_code error;
  const std::uintmax_t size =
      fs::file_size(fs::path(QUELLOR_PLANT_DIR) / "shell" / "Tagname.X", error);
  if (error) Die(nullptr, "cannot read the shell application's Tagname.X");
  constexpr std::int32_t kMaxRecords = 60000;
  constexpr std::uintmax_t kRecordSize = 1024;  // unit 0 is the header
  return kMaxRecords - static_cast<std::int32_t>(size / kRecordSize - 1);
}

GeneratedPlant GeneratePlant(const fs::path& root, std::int32_t tags, std::uint32_t seed) {
  GeneratedPlant plant;
  plant.database = LayOutMachine(root);
  std::mt19937 random(seed);
  ProjectWriter writer(plant.database, NetworkSql() + AccessNamesSql() + ApplicationsSql());
  std::string filters;
  while (plant.tags < tags) {
    const std::int32_t left = tags - plant.tags;
    Shape shape = static_cast<Shape>(random() % 5);
    if (kShapeTags[shape] > left) shape = random() % 2 ? kFieldTag : kFixedFieldTag;
    const int number = 100000 + plant.trees;
    // One name in 41 starts with a digit, which the HMI needs prefixed.
    // Appended rather than "T" + ..., which g++ 12 at -O3 misreads as an overlapping copy.
    const std::string name = number % 41 == 0 ? std::to_string(number) + "LT"
                                              : std::string("T").append(std::to_string(number));
    AddTree(writer, shape, name, random);
    if (number % 100 == 0) {
      filters += "INSERT INTO TagFilters VALUES ('Area" + std::to_string(number % 3 + 1) + "', '" +
                 name + "', " + std::to_string(number) + ");";
    }
    plant.tags += kShapeTags[shape];
    ++plant.trees;
  }
  writer.Exec(filters);
  plant.rows = writer.rows();
  return plant;
}

std::int32_t ChangeTags(const fs::path& database, std::uint32_t seed) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    Die(db, "open");
  }
  std::vector<std::string> names;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT TagName FROM Tags ORDER BY TagName", -1, &statement,
                         nullptr) != SQLITE_OK) {
    Die(db, "prepare");
  }
  while (sqlite3_step(statement) == SQLITE_ROW) {
    names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
  }
  sqlite3_finalize(statement);
  std::mt19937 random(seed);
  std::shuffle(names.begin(), names.end(), random);
  names.resize(std::min(names.size(), std::max<std::size_t>(1, names.size() / 100)));
  if (sqlite3_prepare_v2(db,
                         "UPDATE TrendData SET FullDesc = FullDesc || ' (changed)', "
                         "HiRange = HiRange + 1 WHERE TagName = ?1",
                         -1, &statement, nullptr) != SQLITE_OK) {
    Die(db, "prepare");
  }
  sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
  for (const std::string& name : names) {
    sqlite3_bind_text(statement, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(statement) != SQLITE_DONE) Die(db, "update");
    sqlite3_reset(statement);
  }
  sqlite3_finalize(statement);
  if (sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr) != SQLITE_OK) Die(db, "commit");
  sqlite3_close(db);
  return static_cast<std::int32_t>(names.size());
}

}  // namespace quellor::bench
