// The access name of a top-level tag: the merge's per-server memo must choose as the lookup of
// each single tag does, and the table of every tag's server must answer as the query would.
#include "tagdict/tag_server.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "accessnames/acc_names.h"
#include "tagdict/tag_server_table.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using ::quellor::testing::AttachedProject;

constexpr char kNetworkSql[] =
    "INSERT INTO ServerComputerPorts VALUES (1, 'SRV_A'), (2, 'SRV_B'), (3, 'SRV_C');"
    "INSERT INTO ServerComputerPortToNodes VALUES (1, 'NA'), (2, 'NB'), (3, 'NC');"
    "INSERT INTO Blocks VALUES (1, 'NA'), (2, 'NB'), (3, 'NC');"
    "INSERT INTO Tags VALUES ('A1', 1), ('A2', 1), ('B1', 2), ('C1', 3), ('LOST', 99);";

AccName_T Named(const char* name, const char* server, const char* application, int id) {
  AccName_T record;
  record.SourceName = name;
  record.TopicName = "TOPIC";
  record.MasterServer = server;
  record.StandbyServer = std::string(server) + "_STANDBY";  // a master is local only with one
  record.ApplicationName = application;
  record.DDESourceID = id;
  return record;
}

TEST(TagServerLookupTest, ChoosesPerServerAsTheSingleLookupDoes) {
  const AttachedProject project(kNetworkSql);
  CAccNames names;
  names.AppendRecord(Named("VIEW", "SRV_A", "View", 1));
  names.AppendRecord(Named("PA", "SRV_A", "PelnetData", 2));
  names.AppendRecord(Named("PB", "SRV_B", "PelnetData", 3));
  const int app[] = {0, 1, 2};
  TagServerLookup lookup(names, app);
  // Twice each, so that the second answer comes from the memo; C1 has no local access name
  // and takes a remote one, LOST has no server at all.
  const struct {
    const char* tag;
    std::int32_t id;
  } cases[] = {{"A1", 2}, {"B1", 3}, {"C1", 2},   {"LOST", 0}, {"A2", 2},
               {"B1", 3}, {"C1", 2}, {"LOST", 0}, {"NONE", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tag);
    EXPECT_EQ(lookup(c.tag), c.id);
    EXPECT_EQ(LookupTagServer(c.tag, names, app), c.id);
  }
}

// Chains of every kind: a name in another case, a server to trim, a NULL server, a node on two
// ports, a block without a port, a tag without a block, names with a '?' (one spelled so, one
// with a letter the code page lacks).
constexpr char kChainsSql[] =
    "INSERT INTO ServerComputerPorts VALUES (1, 'SRV_A'), (2, '  SRV_B  '), (3, NULL),"
    " (4, 'SRV_D'), (5, 'SRV_E');"
    "INSERT INTO ServerComputerPortToNodes VALUES (1, 'NA'), (2, 'nb'), (3, 'NC'), (4, 'ND'),"
    " (5, 'ND');"
    "INSERT INTO Blocks VALUES (1, 'NA'), (2, 'NB'), (3, 'NC'), (4, 'ND'), (5, 'NX');"
    "INSERT INTO Tags VALUES ('A1', 1), ('a2', 1), ('B1', 2), ('C1', 3), ('D1', 4), ('X1', 5),"
    " ('LOST', 99), ('Q?1', 1), ('Tank\xCE\xB1', 1);";

const std::string kPlantQueries =
    std::string(QUELLOR_SOURCE_DIR) + "/examples/plant/access_queries.sql";

TEST(TagServerTableTest, AnswersForEachTagAsQFTTagServerDoesUnderEachStockDefinition) {
  const struct {
    const char* definition;
    std::string sql;
  } definitions[] = {
      {"SQLite", ""},
      {"SQLite laid out on other lines",
       "UPDATE SavedQueries SET Sql = replace(Sql, ' ', char(13, 10, 9))"
       " WHERE Name = 'qFTTagServer';"},
      {"Access", ::quellor::testing::ReadFile(kPlantQueries)},
  };
  const struct {
    const char* tag;
    bool in_table;
    std::optional<std::string> server;
  } tags[] = {
      {"A1", true, "SRV_A"},   {"A2", true, "SRV_A"}, {"B1", true, "SRV_B"}, {"C1", true, {}},
      {"X1", true, {}},        {"LOST", true, {}},    {"NONE", true, {}},    {"D1", false, "SRV_D"},
      {"Q?1", false, "SRV_A"}, {"TANK?", false, {}},
  };
  for (const auto& d : definitions) {
    SCOPED_TRACE(d.definition);
    const AttachedProject project(kChainsSql + d.sql);
    std::optional<TagServerTable> table = TagServerTable::Read();
    ASSERT_TRUE(table.has_value());
    for (const auto& t : tags) {
      SCOPED_TRACE(t.tag);
      const std::optional<std::string> asked = TagServerOf(t.tag);
      EXPECT_EQ(asked, t.server);
      const std::optional<std::string>* found = table->Find(t.tag);
      EXPECT_EQ(found != nullptr, t.in_table);
      if (found != nullptr) {
        EXPECT_EQ(*found, asked);
      }
    }
  }
}

TEST(TagServerTableTest, IsNotReadForADefinitionOfTheProjectsOwn) {
  const char* const definitions[] = {
      "UPDATE SavedQueries SET Sql = 'SELECT p.ServerComputerName FROM ServerComputerPorts AS p"
      " WHERE ?1 IS NOT NULL' WHERE Name = 'qFTTagServer';",
      "UPDATE SavedQueries SET Sql = upper(Sql) WHERE Name = 'qFTTagServer';",
      "UPDATE SavedQueries SET Sql = NULL, AccessSql = 'SELECT"
      " ServerComputerPorts.ServerComputerName FROM ServerComputerPorts"
      " WHERE [Tag Name] Is Not Null;' WHERE Name = 'qFTTagServer';",
      "DELETE FROM SavedQueries WHERE Name = 'qFTTagServer';",
  };
  for (const char* definition : definitions) {
    SCOPED_TRACE(definition);
    const AttachedProject project(std::string(kChainsSql) + definition);
    EXPECT_FALSE(TagServerTable::Read().has_value());
  }
}

}  // namespace
}  // namespace quellor
