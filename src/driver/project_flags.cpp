#include "driver/project_flags.h"

#include "platform/automation/variant.h"
#include "projectdb/project_query.h"
#include "report/report.h"

namespace quellor {
namespace {

constexpr const char* kQuery = "qProjectFlags";
constexpr const char* kField = "BuildFSTagBrowseFiles";

// The flag of the first record; 0 after reporting what is wrong with the query. The query's
// context is released when `query` goes.
int ReadBuildFlag(ProjectQuery& query) {
  if (query.MoveNext() < 0) {
    Report("Query qProjectFlags has no records", 2, 1);
    return 0;
  }
  VARIANT value;
  VariantInit(&value);
  int result = 0;
  if (query.GetFieldValueByFieldName(&value, kField) < 0) {
    Report("Query qProjectFlags has no BuildFSTagBrowseFiles field", 2, 1);
  } else if (value.vt == VT_BOOL) {
    result = static_cast<std::int16_t>(value.boolVal);
  } else {
    Report("BuildFSTagBrowseFiles field in Query qProjectFlags is not BOOLEAN", 2, 1);
  }
  VariantClear(&value);
  return result;
}

}  // namespace

int CheckProjectFlags() {
  int result = 0;
  {
    ProjectQuery query = ProjectQuery::Saved(kQuery, nullptr, 0);
    if (query.ok()) {
      result = ReadBuildFlag(query);
    } else {
      Report("Failed to prepare query qProjectFlags", 2, 1);
    }
  }
  if (result == 0) Report("Quellor - is not required for this project type", 0, 0);
  return result;
}

}  // namespace quellor
