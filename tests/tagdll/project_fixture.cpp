#include "tagdll/project_fixture.h"

#include "platform/automation/conversions.h"

namespace quellor::testing {

ParameterArray::ParameterArray(std::uint32_t count) {
  value_->vt = VT_ARRAY | VT_VARIANT;
  value_->parray = SafeArrayCreateVector(VT_VARIANT, 0, count);
}

VARIANT* ParameterArray::at(std::int32_t index) { return SafeArrayElement(value_->parray, index); }

OpenQuery::~OpenQuery() {
  if (context_ != nullptr) {
    EXPECT_EQ(tdl_.ReleaseQueryContext(&context_, kTdlEnd), kTdlOk);
  }
}

std::string Show(const VARIANT& value) {
  const char* type = "?";
  switch (value.vt) {
    case VT_EMPTY:
      type = "EMPTY";
      break;
    case VT_NULL:
      return "NULL:";
    case VT_I2:
      type = "I2";
      break;
    case VT_I4:
      type = "I4";
      break;
    case VT_R8:
      type = "R8";
      break;
    case VT_BOOL:
      type = "BOOL";
      break;
    case VT_BSTR:
      type = "BSTR";
      break;
    default:
      return "OTHER:";
  }
  const Result<std::string> text = VariantToText(value);
  return std::string(type) + ":" + (text.ok() ? *text : "?");
}

void ProjectFixture::SetUp() {
  CreateProjectDatabase(db_path_);
  ASSERT_EQ(db_.AttachProjectDb(db_path_.c_str()), kTdlOk);
}

void ProjectFixture::TearDown() {
  if (db_.loaded()) {
    EXPECT_EQ(db_.ReleaseProjectDb(), kTdlOk);
  }
}

std::vector<std::vector<std::string>> ProjectFixture::Rows(TdlQueryContext* context) {
  std::vector<std::vector<std::string>> rows;
  VARIANT* row = nullptr;
  while (tdl().GetNextRow(context, &row, kTdlEnd) == kTdlOk) {
    EXPECT_EQ(row->vt, VT_ARRAY | VT_VARIANT);
    std::vector<std::string> values;
    for (std::uint32_t i = 0; i < row->parray->rgsabound[0].cElements; ++i) {
      values.push_back(Show(*SafeArrayElement(row->parray, static_cast<std::int32_t>(i))));
    }
    rows.push_back(std::move(values));
  }
  return rows;
}

std::vector<std::vector<std::string>> ProjectFixture::SavedQueryRows(const char* name,
                                                                     const VARIANT* parameters) {
  OpenQuery query(tdl());
  EXPECT_EQ(tdl().PrepareQuery(query.address(), name, parameters, 0, kTdlEnd), kTdlOk) << name;
  if (query.get() == nullptr) return {};
  return Rows(query.get());
}

std::vector<std::vector<std::string>> ProjectFixture::SqlRows(const std::string& sql,
                                                              const VARIANT* parameters) {
  OpenQuery query(tdl());
  EXPECT_EQ(tdl().PrepareSQLQuery(query.address(), sql.c_str(), parameters, 0, kTdlEnd), kTdlOk)
      << sql;
  if (query.get() == nullptr) return {};
  return Rows(query.get());
}

std::int32_t ProjectFixture::ExecuteSql(const std::string& sql) {
  OpenQuery query(tdl());
  const std::int32_t prepared =
      tdl().PrepareSQLQuery(query.address(), sql.c_str(), nullptr, 1, kTdlEnd);
  if (prepared != kTdlOk) return prepared;
  return tdl().Execute(query.get(), kTdlEnd);
}

}  // namespace quellor::testing
