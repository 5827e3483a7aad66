#include <gtest/gtest.h>

#include "driver/csv_line.h"
#include "driver/project_paths.h"

namespace quellor {
namespace {

using Fields = std::vector<std::string>;

TEST(CSVLine, SplitsByTheStateTable) {
  const struct {
    const char* line;
    std::optional<char> separator;
    Fields fields;
  } cases[] = {
      {"C:\\PROJ,UNIT1,D:\\APPS\\UNIT1", ',', {"C:\\PROJ", "UNIT1", "D:\\APPS\\UNIT1"}},
      {"C:\\PROJ, UNIT1, D:\\X", ',', {"C:\\PROJ", " UNIT1", " D:\\X"}},  // blanks kept
      {"C:\\PROJ,", ',', {"C:\\PROJ"}},                                   // no empty last field
      {",C:\\PROJ", ',', {"", "C:\\PROJ"}},                               // an empty first field
      {"A,,B", ',', {"A", "", "B"}},
      {"\"C:\\MY,PROJ\",U", ',', {"C:\\MY,PROJ", "U"}},
      {"AB\"C,D\"E", ',', {"ABC,DE"}},  // quotes open and close inside a field
      {"\"A\"\"B\"", ',', {"A\"B"}},    // a doubled quote inside quotes
      {"A\"\"B", ',', {"AB"}},          // outside quotes it opens and closes
      {"\"UNCLOSED,X", ',', {"UNCLOSED,X"}},
      {"A\nB,C", ',', {"AB", "C"}},        // line feeds dropped
      {"\"A\n,B\",C", ',', {"A", "B,C"}},  // a line feed ends a quoted stretch
      {"C:\\PROJ,UNIT1", ';', {"C:\\PROJ,UNIT1"}},
      {"C:\\PROJ;UNIT1", ';', {"C:\\PROJ", "UNIT1"}},
      {"A,B", std::nullopt, {"A,B"}},  // no separator: one field
      {"", ',', {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CSVLine(c.line, c.separator).fields(), c.fields) << c.line;
  }
}

TEST(ProjectPaths, DerivesTheProjectFolderFromFileOrFolderPaths) {
  const struct {
    const char* field;
    bool names_a_folder;  // an existing folder
    const char* project_dir;
  } cases[] = {
      {"C:\\PROJ\\PROJECT.MDB", false, "C:\\PROJ"},
      {"C:\\PROJ\\", false, "C:\\PROJ"},
      {"C:\\PROJ", false, "C:\\PROJ"},
      {"C:\\PLANT.2\\PROJ", false, "C:\\PLANT.2"},       // a dot makes it a file path
      {"C:\\PLANT.2\\PROJ", true, "C:\\PLANT.2\\PROJ"},  // unless the folder exists
      {"./PLANT\\", true, "./PLANT"},
      {"PROJECT.MDB", false, ""},
      {"\\PROJECT.MDB", false, ""},                     // a separator at position 0 does not count
      {"/SRV/PLANT/PROJECT.MDB", false, "/SRV/PLANT"},  // a host path: '/' counts as '\'
      {"C:\\A/B.MDB", false, "C:\\A"},
      {"/SRV/PLANT/", false, "/SRV/PLANT/"},  // folder form: only a '\' is removed
      {"C:\\PROJ\\\\", false, "C:\\PROJ\\"},  // one trailing backslash only
      {"", false, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DeriveProjectDir(c.field, c.names_a_folder), c.project_dir) << c.field;
  }
}

TEST(ProjectPaths, BuildsTheFixedPathsInsideTheProject) {
  const ProjectPaths paths = DeriveProjectPaths("C:\\PROJ\\PROJECT.MDB");
  EXPECT_EQ(paths.database_path, "C:\\PROJ\\Project.mdb");
  EXPECT_EQ(paths.factory_suite_dir, "C:\\PROJ\\FactorySuite");
  EXPECT_EQ(paths.clients_dir, "C:\\PROJ\\FactorySuite\\Clients");
  EXPECT_EQ(paths.settings_file, "C:\\PROJ\\ufolder.ini");
  EXPECT_EQ(DeriveProjectPaths("PROJECT.MDB").database_path, "\\Project.mdb");
}

}  // namespace
}  // namespace quellor
