// Tables linked from other Access files: the link's path is resolved by the machine's rules
// (drive letters under the prefix), and a link that cannot be followed fails naming the table
// and the path.
#include <gtest/gtest.h>

#include <filesystem>

#include "access/access_test_files.h"
#include "tagdll/access/linked_tables.h"
#include "testing/status_matchers.h"
#include "testing/temp_prefix.h"

namespace quellor::testing {
namespace {

using tagdll::access::CatalogObject;
using tagdll::access::LinkedFiles;

CatalogObject Link(std::string database, std::string foreign_name) {
  CatalogObject link;
  link.name = "Linked Shippers";
  link.type = 6;
  link.database = std::move(database);
  link.foreign_name = std::move(foreign_name);
  return link;
}

TEST(LinkedTablesTest, FollowsALinkThroughTheDriveLettersOfThePrefix) {
  TempPrefix prefix;
  TempDir drive;
  std::filesystem::create_directory(drive.path() / "Plant");
  std::filesystem::copy_file(AccessTestFile(kNwind), drive.path() / "Plant" / "nwind.mdb");
  prefix.MapDrive('C', drive.path());

  LinkedFiles linked("/x/Project.mdb");
  // Windows names compare without regard to case.
  Result<std::unique_ptr<tagdll::access::AccessTable>> table =
      linked.OpenLinkedTable(Link("C:\\PLANT\\NWIND.MDB", "shippers"));
  ASSERT_THAT(table, IsOk());
  EXPECT_EQ((*table)->columns().size(), 3u);
  EXPECT_EQ(*(*table)->CountRows(), 3u);
}

TEST(LinkedTablesTest, RefusesALinkItCannotFollowNamingTableAndPath) {
  TempPrefix prefix;
  TempDir drive;
  std::filesystem::copy_file(AccessTestFile(kNwind), drive.path() / "nwind.mdb");
  prefix.MapDrive('C', drive.path());
  const std::string start =
      "the Access file /x/Project.mdb cannot be read: its table "
      "\"Linked Shippers\" is linked to ";
  LinkedFiles linked("/x/Project.mdb");
  EXPECT_THAT(linked.OpenLinkedTable(Link("D:\\nwind.mdb", "Shippers")),
              StatusIs(StatusCode::kNotFound, start + "D:\\nwind.mdb, which cannot be reached"));
  EXPECT_THAT(linked.OpenLinkedTable(Link("\\\\server\\share\\nwind.mdb", "Shippers")),
              StatusIs(StatusCode::kNotFound,
                       start + "\\\\server\\share\\nwind.mdb, which cannot be reached"));
  EXPECT_THAT(
      linked.OpenLinkedTable(Link("C:\\nwind.mdb", "Freight")),
      StatusIs(StatusCode::kNotFound, start + "C:\\nwind.mdb, which has no table \"Freight\""));
}

}  // namespace
}  // namespace quellor::testing
