#include "tagdll/query_context.h"

#include <algorithm>

#include "base/ascii.h"
#include "base/cp1252.h"
#include "base/format.h"
#include "platform/automation/conversions.h"
#include "tagdll/column_value.h"
#include "tagdll/tagdll.h"

using quellor::Status;
using quellor::VARIANT;

namespace {

Status BindOne(sqlite3_stmt* statement, int index, const VARIANT& value) {
  int rc = SQLITE_OK;
  switch (value.vt) {
    case quellor::VT_EMPTY:
    case quellor::VT_NULL:
      rc = sqlite3_bind_null(statement, index);
      break;
    case quellor::VT_I2:
      rc = sqlite3_bind_int(statement, index, value.iVal);
      break;
    case quellor::VT_I4:
      rc = sqlite3_bind_int(statement, index, value.lVal);
      break;
    case quellor::VT_R8:
      rc = sqlite3_bind_double(statement, index, value.dblVal);
      break;
    case quellor::VT_BOOL:
      rc = sqlite3_bind_int(statement, index, value.boolVal != 0 ? 1 : 0);
      break;
    case quellor::VT_BSTR: {
      std::string converted;
      const std::string_view text =
          quellor::Cp1252AsUtf8(quellor::VariantTextView(value), converted);
      rc = sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                             SQLITE_TRANSIENT);
      break;
    }
    default:
      return Status::InvalidArgument(
          quellor::StringPrintf("parameter %d has a type that cannot be bound", index));
  }
  if (rc != SQLITE_OK) return Status::InvalidArgument(sqlite3_errstr(rc));
  return Status::Ok();
}

}  // namespace

TdlQueryContext::TdlQueryContext(StepFailure on_step_failure)
    : on_step_failure_(std::move(on_step_failure)) {}

TdlQueryContext::~TdlQueryContext() { Close(); }

void TdlQueryContext::Open(quellor::tagdll::CachedStatement* entry,
                           const std::vector<quellor::tagdll::DeclaredKind>& kinds,
                           std::string_view label) {
  Close();
  entry_ = entry;
  given_kinds_.assign(kinds.begin(), kinds.end());
  label_.assign(label);
  columns_read_ = false;
  has_row_ = false;
  finished_ = false;
}

void TdlQueryContext::Close() {
  if (entry_ == nullptr) return;
  quellor::tagdll::StatementCache::Return(entry_);
  entry_ = nullptr;
}

void TdlQueryContext::ReadColumns() {
  quellor::tagdll::StatementColumns& columns = entry_->columns;
  const int compilations = sqlite3_stmt_status(statement(), SQLITE_STMTSTATUS_REPREPARE, 0);
  if (columns.compilations != compilations) {
    const int count = sqlite3_column_count(statement());
    columns.names.clear();
    columns.kinds.clear();
    for (int i = 0; i < count; ++i) {
      const char* const name = sqlite3_column_name(statement(), i);
      columns.names.emplace_back(name != nullptr ? name : "");
      columns.kinds.push_back(
          quellor::tagdll::ClassifyDeclaredType(sqlite3_column_decltype(statement(), i)));
    }
    columns.compilations = compilations;
  }
  column_kinds_.assign(columns.kinds.begin(), columns.kinds.end());
  const std::size_t given = std::min(given_kinds_.size(), column_kinds_.size());
  std::copy_n(given_kinds_.begin(), given, column_kinds_.begin());
  columns_read_ = true;
}

Status quellor::tagdll::BindParameters(sqlite3_stmt* statement, const VARIANT* parameters) {
  const int wanted = sqlite3_bind_parameter_count(statement);
  std::int64_t given = 0;
  if (parameters != nullptr && parameters->vt != quellor::VT_EMPTY) {
    if (parameters->vt != (quellor::VT_ARRAY | quellor::VT_VARIANT) ||
        parameters->parray == nullptr || parameters->parray->cDims != 1 ||
        parameters->parray->cbElements != sizeof(VARIANT)) {
      return Status::InvalidArgument("the parameters are not an array of variants");
    }
    const quellor::SAFEARRAY* const array = parameters->parray;
    given = std::min<std::int64_t>(array->rgsabound[0].cElements, wanted);
    for (std::int64_t i = 0; i < given; ++i) {
      const VARIANT* const element = quellor::SafeArrayElement(
          array, static_cast<std::int32_t>(array->rgsabound[0].lLbound + i));
      if (element == nullptr) return Status::InvalidArgument("a parameter is out of reach");
      const Status status = BindOne(statement, static_cast<int>(i + 1), *element);
      if (!status.ok()) return status;
    }
  }
  // A statement comes back from its last query with that query's values still bound.
  for (std::int64_t i = given; i < wanted; ++i)
    sqlite3_bind_null(statement, static_cast<int>(i + 1));
  return Status::Ok();
}

int TdlQueryContext::Step() {
  const int rc = sqlite3_step(statement());
  // A constraint that refuses a row is an insert's answer, not a failure to explain: the
  // program's alarm-group insert counts on it when no id is free.
  if (rc != SQLITE_ROW && rc != SQLITE_DONE && rc != SQLITE_CONSTRAINT && on_step_failure_) {
    on_step_failure_(label_, sqlite3_errmsg(sqlite3_db_handle(statement())));
  }
  return rc;
}

std::int32_t TdlQueryContext::MoveNext() {
  has_row_ = false;
  if (finished_) return kTdlFailed;
  const int rc = Step();
  if (rc == SQLITE_ROW) {
    has_row_ = true;
    if (!columns_read_) ReadColumns();
    return kTdlOk;
  }
  finished_ = true;
  return kTdlFailed;
}

std::int32_t TdlQueryContext::GetNextRow(VARIANT** row) {
  if (MoveNext() != kTdlOk) return kTdlFailed;
  const auto columns = static_cast<std::uint32_t>(column_kinds_.size());
  // The last row's array and its texts' memory take the next row's values.
  if (row_->vt != (quellor::VT_ARRAY | quellor::VT_VARIANT) ||
      row_->parray->rgsabound[0].cElements != columns) {
    quellor::VariantClear(row_.get());
    quellor::SAFEARRAY* const array =
        quellor::SafeArrayCreateVector(quellor::VT_VARIANT, 0, columns);
    if (array == nullptr) return kTdlFailed;
    row_->vt = quellor::VT_ARRAY | quellor::VT_VARIANT;
    row_->parray = array;
  }
  // The array was made here with lower bound 0: its elements are indexed directly.
  auto* const elements = static_cast<VARIANT*>(row_->parray->pvData);
  for (std::uint32_t i = 0; i < columns; ++i) {
    if (!quellor::tagdll::ColumnToVariant(statement(), static_cast<int>(i), column_kinds_[i],
                                          &elements[i])) {
      return kTdlFailed;
    }
  }
  *row = row_.get();
  return kTdlOk;
}

std::int32_t TdlQueryContext::GetFieldValueByName(VARIANT* value, std::string_view field_name) {
  if (!has_row_) return kTdlFailed;
  const std::string wanted = quellor::Cp1252ToUtf8(field_name);
  for (std::size_t i = 0; i < column_names().size(); ++i) {
    if (!quellor::EqualsIgnoreCase(column_names()[i], wanted)) continue;
    return quellor::tagdll::ColumnToVariant(statement(), static_cast<int>(i), column_kinds_[i],
                                            value)
               ? kTdlOk
               : kTdlFailed;
  }
  return kTdlFailed;
}

std::int32_t TdlQueryContext::Execute() {
  sqlite3_reset(statement());
  has_row_ = false;
  int rc = SQLITE_ROW;
  while (rc == SQLITE_ROW) rc = Step();
  finished_ = true;
  return rc == SQLITE_DONE ? kTdlOk : kTdlFailed;
}
