// The translator over a real SQLite database in a temporary folder: the project's tables and
// the order-processing sample (sample_orders.h), with Access's functions registered as the
// library registers them. Results are compared as text rows, "value|value|...".
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tagdll/sql/sqlite_catalog.h"
#include "tagdll/sql/translator.h"
#include "tagdll/sqlite_handles.h"
#include "testing/temp_dir.h"

namespace quellor::testing {

class TranslatorFixture : public ::testing::Test {
 protected:
  TranslatorFixture();

  Result<tagdll::sql::Translation> Translate(
      std::string_view access_sql,
      tagdll::sql::TextOrigin origin = tagdll::sql::TextOrigin::kSavedQuery);
  // The rows of an Access text translated and run, its parameters bound in order ("12" as an
  // integer, "1.5" as a real, "NULL", else text); a refusal is the one row "refused: why".
  std::vector<std::string> Rows(std::string_view access_sql,
                                const std::vector<std::string>& parameters = {});
  // The rows of an SQLite text run as it stands.
  std::vector<std::string> SqliteRows(const std::string& sql,
                                      const std::vector<std::string>& parameters = {});
  void Exec(const std::string& sql);
  // Works on another database from now on (its own tables and saved queries).
  void OpenDatabase(const std::string& path);
  void SaveAccessQuery(const std::string& name, const std::string& access_sql);

  sqlite3* db() const { return db_.get(); }

 private:
  TempDir dir_;
  tagdll::ConnectionPtr db_;
  std::unique_ptr<tagdll::sql::SqliteCatalog> catalog_;
};

}  // namespace quellor::testing
