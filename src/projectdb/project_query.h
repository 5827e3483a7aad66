// How the program's modules read the project: through the run's one binding to the
// project-database library (g_TagDll), with prepared queries that release their context when
// they go, and parameter arrays that free themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"
#include "projectdb/project_db.h"

namespace quellor {

// The run's binding. One per process; ResetTagDll forgets what an earlier run left (the
// library is unloaded) and binds `library_name` next.
ProjectDb& TagDll();
void ResetTagDll(std::string library_name = ProjectDb::kLibraryName);

// A variant holding a one-dimensional, 0-based array of `count` variants (VT_EMPTY at first),
// as the library takes query parameters; freed when it goes.
class QueryParameters final {
 public:
  explicit QueryParameters(std::size_t count);
  ~QueryParameters();
  QueryParameters(const QueryParameters&) = delete;
  QueryParameters& operator=(const QueryParameters&) = delete;

  VARIANT* at(std::size_t index);
  void SetText(std::size_t index, std::string_view text);
  void SetInteger(std::size_t index, std::int32_t number);
  const VARIANT* get() const { return &array_; }

 private:
  VARIANT array_;
};

// One prepared query of the run's binding. Preparing never reports; the caller decides what a
// failure means. A context that was prepared is released exactly once, when the object goes.
class ProjectQuery final {
 public:
  // tdl_PrepareQuery with a saved query's name, or tdl_PrepareSQLQuery with Access SQL.
  static ProjectQuery Saved(const char* name, const VARIANT* parameters, std::int32_t option);
  static ProjectQuery Sql(const char* sql, const VARIANT* parameters, std::int32_t option);

  ProjectQuery(ProjectQuery&& other) noexcept;
  ProjectQuery& operator=(ProjectQuery&&) = delete;
  ProjectQuery(const ProjectQuery&) = delete;
  ~ProjectQuery();

  // Whether the prepare succeeded, and its result.
  bool ok() const { return context_ != nullptr; }
  std::int32_t result() const { return result_; }

  // The entry points on this context (each needs ok()); negative results as the library's.
  std::int32_t MoveNext();
  std::int32_t GetFieldValueByFieldName(VARIANT* value, const char* field_name);
  // `*row` points at a library-owned array of the row's values, valid until the next call.
  std::int32_t GetNextRow(VARIANT** row);
  std::int32_t Execute();

 private:
  ProjectQuery(TdlQueryContext* context, std::int32_t result)
      : context_(context), result_(result) {}
  TdlQueryContext* context_ = nullptr;
  std::int32_t result_ = kTdlFailed;
};

}  // namespace quellor
