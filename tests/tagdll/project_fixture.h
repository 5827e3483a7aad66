// A project database made from schema.sql in a temporary folder, and the library attached to
// it through the program's binding, so that tests call the entry points as the program does.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/variant.h"
#include "projectdb/project_db.h"
#include "testing/project_database.h"
#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor::testing {

// A variant holding an array of variants, as the program passes query parameters.
class ParameterArray final {
 public:
  explicit ParameterArray(std::uint32_t count);
  VARIANT* at(std::int32_t index);
  const VARIANT* get() const { return value_.get(); }

 private:
  ScopedVariant value_;
};

// Owns a query context and releases it through the entry point.
class OpenQuery final {
 public:
  explicit OpenQuery(const TdlEntryPoints& tdl) : tdl_(tdl) {}
  ~OpenQuery();
  OpenQuery(const OpenQuery&) = delete;
  OpenQuery& operator=(const OpenQuery&) = delete;

  TdlQueryContext** address() { return &context_; }
  TdlQueryContext* get() const { return context_; }

 private:
  const TdlEntryPoints& tdl_;
  TdlQueryContext* context_ = nullptr;
};

// A variant shown as "<type>:<text>", e.g. "I2:3", "BSTR:abc", "BOOL:-1", "NULL:".
std::string Show(const VARIANT& value);

class ProjectFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const TdlEntryPoints& tdl() const { return db_.tdl(); }
  const std::filesystem::path& db_path() const { return db_path_; }

  // Every remaining row of a query, each value through Show().
  std::vector<std::vector<std::string>> Rows(TdlQueryContext* context);
  // Prepares (saved query or Access SQL text) and reads every row; fails the test when the
  // prepare fails.
  std::vector<std::vector<std::string>> SavedQueryRows(const char* name,
                                                       const VARIANT* parameters = nullptr);
  std::vector<std::vector<std::string>> SqlRows(const std::string& sql,
                                                const VARIANT* parameters = nullptr);
  // Prepares and executes an action query; the result of tdl_Execute, or the prepare's on
  // failure.
  std::int32_t ExecuteSql(const std::string& sql);

  TempDir dir_;
  std::filesystem::path db_path_ = dir_.path() / "Project.mdb";
  ProjectDb db_{BinaryPath("libtagdll.so").string()};
};

}  // namespace quellor::testing
