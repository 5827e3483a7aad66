// The project's tag filters as the tag browser names them: a group's filter "Group/*" and one
// "Group/Member" per member, from the rows of the project query "qFTFilter".
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tagbrowser/tag_brw.h"
#include "tagbrowser/user_tag_filter.h"

namespace quellor {

inline constexpr std::string_view kFilterQueryName = "qFTFilter";

// One row of the filter query: its group and member, each empty when the value is missing or
// not text (a NULL is not text). Rows that are not arrays of values never get here.
struct FilterRow final {
  std::optional<std::string> group;
  std::optional<std::string> member;
};

// The filter names of the rows, in row order. A row whose group differs from the previous
// valid row's (case-sensitively) gives "G/*" and "G/M"; a row of the same group whose member
// differs from the previous valid row's gives "G/M"; a repeated row gives nothing. A row with
// a missing value is reported ("Query qFTFilter has invalid record", error, flag 1) and
// skipped without becoming the previous row.
std::vector<std::string> FilterNamesFromRows(std::span<const FilterRow> rows);

// The build's filter for a project filter name: Name and FilterText set, the rest empty.
std::unique_ptr<CUserTagFilter> MakeProjectFilter(std::string_view name);

// Merges the build's filter of each of model.ProjectFilterNames, in order.
void MergeProjectFilters(CTagBrw& model);

}  // namespace quellor
