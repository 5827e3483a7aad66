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

// Binds every parameter of the statement: the elements of a variant array in order, extra
// elements ignored, NULL for parameters without an element. Null or VT_EMPTY means no
// parameters. Fails on anything but a one-dimensional array of variants, or an element of a
// type that cannot be bound.
Status BindParameters(sqlite3_stmt* statement, const VARIANT* parameters);

}  // namespace quellor::tagdll

// A context lives as long as its attachment: released, it waits for the next prepare, keeping
// the storage of its rows so that a query prepared once per tag allocates nothing.
struct TdlQueryContext final {
 public:
  // Hears SQLite's reason when a step fails (a failed step reads as "no more rows" to the
  // program, which cannot say why), with the label of the query.
  using StepFailure = std::function<void(std::string_view label, std::string_view reason)>;

  explicit TdlQueryContext(StepFailure on_step_failure = {});
  ~TdlQueryContext();
  TdlQueryContext(const TdlQueryContext&) = delete;
  TdlQueryContext& operator=(const TdlQueryContext&) = delete;

  // Takes the lease of `entry`, positioned before the first row. The columns' variants follow
  // their declared types, or `kinds` where it has one for the column. `label` names the query
  // to StepFailure.
  void Open(quellor::tagdll::CachedStatement* entry,
            const std::vector<quellor::tagdll::DeclaredKind>& kinds, std::string_view label);
  // Gives the lease back (the statement reset); the context keeps its storage.
  void Close();
  bool is_open() const { return entry_ != nullptr; }

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
  // The kinds of the columns, as the statement has them now, read at the first row.
  void ReadColumns();
  const std::vector<std::string>& column_names() const { return entry_->columns.names; }

  quellor::tagdll::CachedStatement* entry_ = nullptr;        // while open
  std::vector<quellor::tagdll::DeclaredKind> column_kinds_;  // the declared or given kinds
  std::vector<quellor::tagdll::DeclaredKind> given_kinds_;   // Open's `kinds`
  std::string label_;
  bool columns_read_ = false;
  bool has_row_ = false;
  bool finished_ = false;  // stepping on after the end would start the query again
  quellor::ScopedVariant row_;
  StepFailure on_step_failure_;
};
