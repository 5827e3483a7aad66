// How the program's modules read the project: through the run's one binding to the
// project-database library (TagDll()), with prepared queries that release their context when
// they go, their rows, and parameter arrays that free themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"
#include "projectdb/project_db.h"

namespace quellor {

// The run's binding. One per process; ResetTagDll forgets what an earlier run left (the
// library is unloaded) and binds `library_name` next, with `changes`.
ProjectDb& TagDll();
void ResetTagDll(std::string library_name = ProjectDb::kLibraryName,
                 DatabaseChanges changes = DatabaseChanges::kKept);

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

// `text` as an Access SQL string literal: in double quotes, a double quote inside it doubled, so
// that no text (a name from the project) can end the literal early and change the query.
std::string AccessStringLiteral(std::string_view text);

// One row of a query, as tdl_GetNextRow positions it: a variant holding an array of one variant
// per column, owned by the library and valid until the next call on the query.
class ProjectRow final {
 public:
  // The row's array is found here once, as a row's columns are read one by one.
  explicit ProjectRow(const VARIANT* row);

  // Whether the row holds an array of values; a row that does not has no column.
  bool has_columns() const { return has_columns_; }
  // The value of column `index` (from 0), or null where the row has no such column: the array
  // holds the elements lower bound ... lower bound + count - 1.
  const VARIANT* Column(std::size_t index) const {
    if (index > static_cast<std::size_t>(INT32_MAX)) return nullptr;
    const std::int64_t offset = static_cast<std::int64_t>(index) - lower_bound_;
    return offset >= 0 && offset < count_ ? first_ + offset : nullptr;
  }

 private:
  bool has_columns_ = false;
  const VARIANT* first_ = nullptr;  // the element at the lower bound; null for no elements
  std::int64_t lower_bound_ = 0;
  std::int64_t count_ = 0;
};

// One prepared query of the run's binding. Preparing never reports; the caller decides what a
// failure means. A context that was prepared is released exactly once: by Release(), or when
// the object goes.
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
  std::int32_t Execute();

  // Moves to the next row (tdl_GetNextRow) and returns it; none after the last row, or when
  // the library fails or gives no row. Needs ok().
  std::optional<ProjectRow> NextRow();

  // Releases the context now, so that the next query may take the database; the query then
  // counts as not prepared (ok() is false).
  void Release();

 private:
  ProjectQuery(TdlQueryContext* context, std::int32_t result)
      : context_(context), result_(result) {}
  TdlQueryContext* context_ = nullptr;
  std::int32_t result_ = kTdlFailed;
};

}  // namespace quellor
