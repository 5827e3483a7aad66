// The access name of a top-level tag: the merge's per-server memo must choose as the lookup of
// each single tag does.
#include "tagdict/tag_server.h"

#include <gtest/gtest.h>

#include <string>

#include "accessnames/acc_names.h"
#include "testing/project_database.h"

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

}  // namespace
}  // namespace quellor
