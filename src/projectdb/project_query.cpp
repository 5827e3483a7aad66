#include "projectdb/project_query.h"

#include <memory>
#include <utility>

namespace quellor {
namespace {

std::unique_ptr<ProjectDb>& Binding() {
  static std::unique_ptr<ProjectDb> binding = std::make_unique<ProjectDb>();
  return binding;
}

}  // namespace

ProjectDb& TagDll() { return *Binding(); }

void ResetTagDll(std::string library_name, DatabaseChanges changes) {
  Binding() = std::make_unique<ProjectDb>(std::move(library_name), changes);
}

QueryParameters::QueryParameters(std::size_t count) {
  VariantInit(&array_);
  array_.vt = VT_ARRAY | VT_VARIANT;
  array_.parray = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<std::uint32_t>(count));
}

QueryParameters::~QueryParameters() { VariantClear(&array_); }

VARIANT* QueryParameters::at(std::size_t index) {
  return SafeArrayElement(array_.parray, static_cast<std::int32_t>(index));
}

void QueryParameters::SetText(std::size_t index, std::string_view text) {
  VariantClear(at(index));
  (void)VariantSetText(at(index), text);
}

void QueryParameters::SetInteger(std::size_t index, std::int32_t number) {
  VariantClear(at(index));
  VariantSetI4(at(index), number);
}

std::string AccessStringLiteral(std::string_view text) {
  std::string literal = "\"";
  for (const char c : text) {
    literal += c;
    if (c == '"') literal += '"';
  }
  literal += '"';
  return literal;
}

ProjectRow::ProjectRow(const VARIANT* row)
    : has_columns_(row != nullptr && row->vt == (VT_ARRAY | VT_VARIANT) && row->parray != nullptr) {
  if (!has_columns_) return;
  const SAFEARRAY* array = row->parray;
  lower_bound_ = array->rgsabound[0].lLbound;
  // Null unless the array is a vector of variants with an element.
  first_ = SafeArrayElement(array, array->rgsabound[0].lLbound);
  count_ = first_ == nullptr ? 0 : array->rgsabound[0].cElements;
}

ProjectQuery ProjectQuery::Saved(const char* name, const VARIANT* parameters, std::int32_t option) {
  TdlQueryContext* context = nullptr;
  const std::int32_t result =
      TagDll().tdl().PrepareQuery(&context, name, parameters, option, kTdlEnd);
  return ProjectQuery(result >= 0 ? context : nullptr, result);
}

ProjectQuery ProjectQuery::Sql(const char* sql, const VARIANT* parameters, std::int32_t option) {
  TdlQueryContext* context = nullptr;
  const std::int32_t result =
      TagDll().tdl().PrepareSQLQuery(&context, sql, parameters, option, kTdlEnd);
  return ProjectQuery(result >= 0 ? context : nullptr, result);
}

ProjectQuery::ProjectQuery(ProjectQuery&& other) noexcept
    : context_(std::exchange(other.context_, nullptr)), result_(other.result_) {}

ProjectQuery::~ProjectQuery() { Release(); }

void ProjectQuery::Release() {
  if (context_ == nullptr) return;
  TagDll().tdl().ReleaseQueryContext(&context_, kTdlEnd);
  context_ = nullptr;
}

std::int32_t ProjectQuery::MoveNext() { return TagDll().tdl().MoveNext(context_, kTdlEnd); }

std::int32_t ProjectQuery::GetFieldValueByFieldName(VARIANT* value, const char* field_name) {
  return TagDll().tdl().GetFieldValueByFieldName(context_, value, field_name, kTdlEnd);
}

std::optional<ProjectRow> ProjectQuery::NextRow() {
  VARIANT* row = nullptr;
  if (TagDll().tdl().GetNextRow(context_, &row, kTdlEnd) < 0 || row == nullptr) {
    return std::nullopt;
  }
  return ProjectRow(row);
}

std::int32_t ProjectQuery::Execute() { return TagDll().tdl().Execute(context_, kTdlEnd); }

}  // namespace quellor
