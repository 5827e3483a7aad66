#include "driver/project_flags.h"

#include "platform/automation/variant.h"
#include "projectdb/project_query.h"
#include "report/report.h"

namespace quellor {
namespace {

constexpr const char* kQuery = "qProjectFlags";
constexpr const char* kField = "BuildFSTagBrowseFiles";

// Whether the flag of the first record is set; false after reporting what is wrong with the
// query.
bool ReadBuildFlag(ProjectQuery& query) {
  if (query.MoveNext() < 0) {
    Report("Query qProjectFlags has no records", 2, 1);
    return false;
  }
  ScopedVariant value;
  if (query.GetFieldValueByFieldName(value.get(), kField) < 0) {
    Report("Query qProjectFlags has no BuildFSTagBrowseFiles field", 2, 1);
    return false;
  }
  if (value->vt != VT_BOOL) {
    Report("BuildFSTagBrowseFiles field in Query qProjectFlags is not BOOLEAN", 2, 1);
    return false;
  }
  return value->boolVal != 0;
}

}  // namespace

bool CheckProjectFlags() {
  ProjectQuery query = ProjectQuery::Saved(kQuery, nullptr, 0);
  bool wanted = false;
  if (query.ok()) {
    wanted = ReadBuildFlag(query);
    query.Release();
  } else {
    Report("Failed to prepare query qProjectFlags", 2, 1);
  }
  if (!wanted) Report("Quellor - is not required for this project type", 0, 0);
  return wanted;
}

}  // namespace quellor
