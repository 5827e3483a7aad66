#include "tagbrowser/project_filters.h"

#include "base/format.h"
#include "report/report.h"

namespace quellor {
namespace {

constexpr std::string_view kWildcardSuffix = "/*";
constexpr std::string_view kSeparator = "/";

}  // namespace

std::vector<std::string> FilterNamesFromRows(std::span<const FilterRow> rows) {
  std::vector<std::string> names;
  std::string previous_group;
  std::string previous_member;
  for (const FilterRow& row : rows) {
    if (!row.group || !row.member) {
      Report(StringPrintf("Query %s has invalid record", std::string(kFilterQueryName).c_str()), 2,
             1);
      continue;
    }
    const std::string& group = *row.group;
    const std::string& member = *row.member;
    if (group != previous_group) {
      names.push_back(group + std::string(kWildcardSuffix));
    } else if (member == previous_member) {
      continue;
    }
    names.push_back(group + std::string(kSeparator) + member);
    previous_group = group;
    previous_member = member;
  }
  return names;
}

std::unique_ptr<CUserTagFilter> MakeProjectFilter(std::string_view name) {
  auto filter = std::make_unique<CUserTagFilter>();
  filter->Name = name;
  filter->FilterText = name;
  return filter;
}

void MergeProjectFilters(CTagBrw& model) {
  for (const std::string& name : model.ProjectFilterNames)
    model.MergeFilter(MakeProjectFilter(name));
}

}  // namespace quellor
