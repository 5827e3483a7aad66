// Builds of projects whose rows hold hostile values in a column the program reads: NULLs, wrong
// types, blank, long and very long texts, quotes, percent signs, backslashes, "..", separators
// in names that become folders, TABs and line ends, characters outside Windows-1252 and SQL
// words. Each build exits 0 with no sanitizer report, writes nothing outside the project (and
// the HMI's application list), and leaves outputs the next build reads as it read them.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "build_machine.h"
#include "sanitized.h"

namespace quellor {
namespace {

using testing::BuildMachine;
using testing::FileTree;

constexpr char kProject[] = "Plant";

// Values as SQL expressions.
const std::vector<std::string>& HostileValues() {
  static const std::vector<std::string> values = {
      "NULL",
      "X'00FF41'",  // a blob: the wrong type for a text, and a NUL inside
      "'not a number'",
      "2.5",
      "-70000",
      "''",
      "'   '",
      "printf('%.300c', 'A')",
      "printf('%.100000c', 'B')",
      "'it''s \"quoted\"'",
      "'100%s%n%d'",
      "'a\\b\\\\c\\'",
      "'..'",
      "'..\\..\\..\\..\\..\\..\\..\\escaped'",
      "'../../../../../../escaped'",
      "'a/b\\c'",
      "'tab' || char(9) || 'x'",
      "'cr' || char(13, 10) || 'lf' || char(10)",
      "'\xCE\xA9\xE6\xBC\xA2\xE5\xAD\x97'",  // Greek and CJK: outside Windows-1252
      "'SELECT'",
      "'x''); DROP TABLE Tags; --'",
  };
  return values;
}

// A column the program reads, and the SQL that puts value `v` into it for case `i`, the other
// columns of its rows valid.
struct Column {
  std::string name;
  std::function<std::string(const std::string& v, int i)> sql;
  bool one_value_per_build = false;  // only the query's first row is read
};

std::string Tag(int i) { return "'H" + std::to_string(i) + "'"; }

// An access name of App1's "View" client.
std::string AccessName(const std::string& name, const std::string& topic, const std::string& master,
                       const std::string& standby, const std::string& server_app, int i) {
  return "INSERT OR IGNORE INTO AccessNames VALUES (" + name + ", " + topic + ", " + master + ", " +
         standby + ", " + server_app + ");" +
         "INSERT INTO ClientAppAccessNames VALUES ('App1', 'View', " + name + ", " +
         std::to_string(100 + i) + ");";
}

std::string ClientRow(const std::string& app, const std::string& client, const std::string& name,
                      const std::string& seq) {
  return "INSERT OR IGNORE INTO ClientAppAccessNames VALUES (" + app + ", " + client + ", " + name +
         ", " + seq + ");";
}

// A trend row of tag H<i> served by SRV1, with `column` replaced by the value.
std::string TrendRow(const std::string& column, const std::string& v, int i) {
  const std::vector<std::pair<std::string, std::string>> fields = {
      {"TagName", Tag(i)},         {"FieldName", "''"},        {"SubfieldName", "''"},
      {"FixFldName", "''"},        {"RecordType", "'FldTag'"}, {"FldRenderedType", "0"},
      {"FixFldRenderedType", "7"}, {"FullDesc", "'desc'"},     {"Units", "'units'"},
      {"HiRange", "100"},          {"LoRange", "0"},           {"Logged", "1"},
      {"InTouchTrend", "1"},       {"HistorianTrend", "1"},    {"Seq", std::to_string(900000 + i)}};
  std::string values;
  for (const auto& [name, valid] : fields) {
    if (!values.empty()) values += ", ";
    values += name == column ? v : valid;
  }
  return "INSERT OR IGNORE INTO Tags VALUES (" + Tag(i) + ", 1);" +
         "INSERT OR IGNORE INTO TrendData VALUES (" + values + ");";
}

std::vector<Column> Columns() {
  std::vector<Column> columns = {
      {"AccessName",
       [](auto& v, int i) { return AccessName(v, "'T'", "'SRV1'", "''", "'PelnetData'", i); }},
      {"Topic",
       [](auto& v, int i) { return AccessName(Tag(i), v, "'SRV1'", "''", "'PelnetData'", i); }},
      {"MasterServerComputerName (a historian node's folder)",
       [](auto& v, int i) { return AccessName(Tag(i), "'T'", v, "''", "'PelnetData'", i); }},
      {"StandbyServerComputerName",
       [](auto& v, int i) { return AccessName(Tag(i), "'T'", "'SRV1'", v, "'PelnetData'", i); }},
      {"ServerApplication",
       [](auto& v, int i) { return AccessName(Tag(i), "'T'", "'SRV1'", "''", v, i); }},
      {"InTouchAppName (an application's folder)",
       [](auto& v, int i) { return ClientRow(v, "'View'", "'PN1'", std::to_string(100 + i)); }},
      {"ApplicationName",
       [](auto& v, int i) { return ClientRow("'App1'", v, "'PN1'", std::to_string(100 + i)); }},
      {"ClientAppAccessNames.AccessName",
       [](auto& v, int i) { return ClientRow("'App1'", "'View'", v, std::to_string(100 + i)); }},
      {"ClientAppAccessNames.Seq",
       [](auto& v, int) { return ClientRow("'App1'", "'View'", "'PN1'", v); }},
      {"ServerComputerName",
       [](auto& v, int i) {
         const std::string id = std::to_string(1000 + i);
         return "INSERT INTO ServerComputerPorts VALUES (" + id + ", " + v + ");" +
                "INSERT INTO ServerComputerPortToNodes VALUES (" + id + ", 'N" + id + "');" +
                "INSERT INTO PelnetNodes VALUES ('N" + id + "');" + "INSERT INTO Blocks VALUES (" +
                id + ", 'N" + id + "');" + "INSERT INTO Tags VALUES (" + Tag(i) + ", " + id + ");" +
                TrendRow("", "", i).substr(TrendRow("", "", i).find(';') + 1);
       }},
      {"FilterGroup",
       [](auto& v, int i) {
         return "INSERT INTO TagFilters VALUES (" + v + ", 'T100001', " + std::to_string(i) + ");";
       }},
      {"MemberName",
       [](auto& v, int i) {
         return "INSERT INTO TagFilters VALUES ('Group', " + v + ", " + std::to_string(i) + ");";
       }},
      {"PersistentData.Value",
       [](auto& v, int) {
         return "INSERT INTO PersistentData VALUES ('DeadbandFractionOfRange', 'InTouchTrend', " +
                v + "), ('DeadbandAbsoluteValue', 'InTouchTrend', " + v + ");";
       },
       true},
      {"BuildFSTagBrowseFiles",
       [](auto& v, int) {
         return "UPDATE SavedQueries SET Sql = 'SELECT ' || quote(" + v +
                ") || ' AS BuildFSTagBrowseFiles' WHERE Name = 'qProjectFlags';";
       },
       true},
  };
  for (const char* field :
       {"TagName", "FieldName", "SubfieldName", "FixFldName", "RecordType", "FldRenderedType",
        "FixFldRenderedType", "FullDesc", "Units", "HiRange", "LoRange", "Logged"}) {
    columns.push_back({std::string("TrendData.") + field,
                       [field](auto& v, int i) { return TrendRow(field, v, i); }});
  }
  return columns;
}

// The ERROR and WARNING lines of a build, in order.
std::vector<std::string> Complaints(const std::string& out) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = out.substr(start, end - start);
    if (line.starts_with("ERROR") || line.starts_with("WARNING")) lines.push_back(line);
  }
  return lines;
}

// Paths of the drive that the build changed, made or removed.
std::vector<std::string> Changed(const FileTree& before, const FileTree& after) {
  std::vector<std::string> changed;
  for (const auto& [path, bytes] : after) {
    const auto old = before.find(path);
    if (old == before.end() || old->second != bytes) changed.push_back(path);
  }
  for (const auto& [path, bytes] : before) {
    if (!after.contains(path)) changed.push_back(path);
  }
  return changed;
}

// One build of a project holding `sql`, and the build after it, checked.
void BuildHostileProject(const std::string& what, const std::string& sql) {
  const BuildMachine machine;
  machine.AddGeneratedProject(kProject, 20, 3);
  testing::RunSql(machine.ProjectDir(kProject) / "Project.mdb", sql);
  const FileTree drive = testing::ReadTree(machine.drive());
  const FileTree prefix = testing::ReadTree(machine.prefix());

  const testing::RunResult first = machine.Build(kProject);
  EXPECT_EQ(first.exit_code, 0) << what << "\n" << first.err;
  EXPECT_EQ(first.err.find("Sanitizer"), std::string::npos) << what << "\n" << first.err;
  EXPECT_EQ(first.err.find("runtime error"), std::string::npos) << what << "\n" << first.err;
  for (const std::string& path : Changed(drive, testing::ReadTree(machine.drive()))) {
    EXPECT_TRUE(path.starts_with("Projects/Plant/") || path == "InTouch/AppList.INI")
        << what << ": wrote " << path;
  }
  EXPECT_TRUE(testing::ReadTree(machine.prefix()) == prefix) << what;

  // The next build finds what the first one wrote as it left it: no new complaint.
  const testing::RunResult second = machine.Build(kProject);

  EXPECT_EQ(second.exit_code, 0) << what;
  EXPECT_EQ(Complaints(second.out), Complaints(first.out)) << what << "\n" << first.out;
}

// One build: a column with every hostile value (a row each), or, for a column of which only
// the first row is read, with one of them.
struct BuildCase {
  std::size_t column;
  int value;  // -1: every value
};

std::vector<BuildCase> BuildCases() {
  std::vector<BuildCase> cases;
  const std::vector<Column> columns = Columns();
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (!columns[c].one_value_per_build) {
      cases.push_back({c, -1});
      continue;
    }
    for (std::size_t v = 0; v < HostileValues().size(); ++v) {
      cases.push_back({c, static_cast<int>(v)});
    }
  }
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<BuildCase>& info) {
  std::string name;
  const std::string column = Columns()[info.param.column].name;
  for (const char c : column) {
    if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    if (c == ' ') break;
  }
  return info.param.value < 0 ? name : name + "Value" + std::to_string(info.param.value);
}

class HostileProjectData : public ::testing::TestWithParam<BuildCase> {};

TEST_P(HostileProjectData, BuildsWithClearMessagesAndSoundFiles) {
  const Column column = Columns()[GetParam().column];
  const auto& values = HostileValues();
  if (GetParam().value >= 0) {
    const std::string& value = values[static_cast<std::size_t>(GetParam().value)];
    BuildHostileProject(column.name + " = " + value.substr(0, 40),
                        column.sql(value, GetParam().value));
    return;
  }
  std::string sql;
  for (std::size_t i = 0; i < values.size(); ++i) sql += column.sql(values[i], static_cast<int>(i));
  BuildHostileProject(column.name, sql);
}

INSTANTIATE_TEST_SUITE_P(Columns, HostileProjectData, ::testing::ValuesIn(BuildCases()), CaseName);

}  // namespace
}  // namespace quellor
