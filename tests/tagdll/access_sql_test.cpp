#include "tagdll/access_sql.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "testing/status_matchers.h"

namespace quellor::tagdll {
namespace {

using ::testing::ElementsAre;
using testing::StatusIs;

struct AdaptCase {
  const char* access;
  const char* sqlite;
};

TEST(AdaptAccessSql, RewritesOnlyLiteralsAndTruthWords) {
  const AdaptCase cases[] = {
      {R"(SELECT "View" AS ApplicationName)", "SELECT 'View' AS ApplicationName"},
      {R"(WHERE a = "O""NEIL")", "WHERE a = 'O\"NEIL'"},
      {R"(WHERE a = "it's")", "WHERE a = 'it''s'"},
      {R"(WHERE a = "")", "WHERE a = ''"},
      {R"(WHERE a = 'single "kept"')", R"(WHERE a = 'single "kept"')"},
      {R"(WHERE a = 'it''s')", R"(WHERE a = 'it''s')"},
      {"WHERE ((x.Logged)=True) AND y = false", "WHERE ((x.Logged)=1) AND y = 0"},
      {"SELECT [True], t.True, Truely FROM t", "SELECT [True], t.True, Truely FROM t"},
      {R"(SELECT ["a"] FROM [My Table])", R"(SELECT ["a"] FROM [My Table])"},
      {R"(SELECT 1 -- "not a literal")", R"(SELECT 1 -- "not a literal")"},
      {R"(SELECT /* "True" */ 2)", R"(SELECT /* "True" */ 2)"},
      {"SELECT :True, ?1, 1.5e3 FROM t ORDER BY t.a",
       "SELECT :True, ?1, 1.5e3 FROM t ORDER BY t.a"},
      {"SELECT \"\xC3\xA9t\xC3\xA9\"", "SELECT '\xC3\xA9t\xC3\xA9'"},
  };
  for (const AdaptCase& c : cases) {
    const Result<AdaptedSql> adapted = AdaptAccessSql(c.access);
    ASSERT_TRUE(adapted.ok()) << c.access;
    EXPECT_EQ(adapted->text, c.sqlite) << c.access;
  }
}

TEST(AdaptAccessSql, CollectsNamesThatMayBeTablesOnce) {
  // "JOIN (" reads as a call until JOIN comes again; an extra name costs only a look-up.
  const Result<AdaptedSql> adapted = AdaptAccessSql(
      "SELECT q.TagName, MIN(x) FROM [qFTTrdData] AS q INNER JOIN (Tags INNER JOIN qfttrddata "
      "ON a=b) WHERE \"Blocks\" = 'Blocks'");
  ASSERT_TRUE(adapted.ok());
  EXPECT_THAT(adapted->names, ElementsAre("SELECT", "q", "x", "FROM", "qFTTrdData", "AS", "INNER",
                                          "Tags", "JOIN", "ON", "a", "b", "WHERE"));
}

TEST(AdaptAccessSql, RefusesUnclosedElements) {
  for (const char* sql :
       {"SELECT \"abc", "SELECT 'abc", "SELECT [abc", "SELECT \"a\"\"", "SELECT 1 /* open"}) {
    EXPECT_THAT(AdaptAccessSql(sql), StatusIs(StatusCode::kInvalidArgument)) << sql;
  }
}

}  // namespace
}  // namespace quellor::tagdll
