// One prepared query of the program: a statement leased from the cache, its parameters and its
// position. The program holds it as an opaque pointer between tdl_ calls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "platform/automation/variant.h"
#include "tagdll/column_value.h"
#include "tagdll/statement_cache.h"

namespace quellor::tagdll {

// Binds the elements of a variant array in order: extra elements are ignored, parameters
// without an element stay NULL. Null or VT_EMPTY means no parameters. Fails on anything but
// a one-dimensional array of variants, or an element of a type that cannot be bound.
Status BindParameters(sqlite3_stmt* statement, const VARIANT* parameters);

}  // namespace quellor::tagdll

struct TdlQueryContext final {
 public:
  // Hears SQLite's reason when a step fails (a failed step reads as "no more rows" to the
  // program, which cannot say why).
  using StepFailure = std::function<void(std::string_view reason)>;

  // Takes the lease of `entry` and gives it back (reset) when it goes. The columns' variants
  // follow their declared types, or `kinds` where it has one for the column. The columns are
  // read at the first row: a statement used again is compiled afresh by its first step when
  // the schema changed meanwhile, and may then have other columns.
  explicit TdlQueryContext(quellor::tagdll::CachedStatement* entry,
                           const std::vector<quellor::tagdll::DeclaredKind>& kinds = {},
                           StepFailure on_step_failure = {});
  ~TdlQueryContext();
  TdlQueryContext(const TdlQueryContext&) = delete;
  TdlQueryContext& operator=(const TdlQueryContext&) = delete;

  // BindParameters on the context's statement.
  quellor::Status Bind(const quellor::VARIANT* parameters) {
    return quellor::tagdll::BindParameters(statement(), parameters);
  }

  // The tdl_ operations, with their results.
  std::int32_t MoveNext();
  std::int32_t GetNextRow(quellor::VARIANT** row);
  std::int32_t GetFieldValueByName(quellor::VARIANT* value, std::string_view field_name);
  std::int32_t Execute();

 private:
  sqlite3_stmt* statement() const { return entry_->statement.get(); }
  // A step's result code, its failure said.
  int Step();
  // The names and kinds of the columns, as the statement has them now.
  void ReadColumns();

  quellor::tagdll::CachedStatement* const entry_;
  std::vector<std::string> column_names_;                    // UTF-8, as SQLite names the columns
  std::vector<quellor::tagdll::DeclaredKind> column_kinds_;  // their declared types
  std::vector<quellor::tagdll::DeclaredKind> given_kinds_;   // the constructor's `kinds`
  bool columns_read_ = false;
  bool has_row_ = false;
  bool finished_ = false;  // stepping on after the end would start the query again
  quellor::ScopedVariant row_;
  StepFailure on_step_failure_;
};
