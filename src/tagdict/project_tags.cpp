#include "tagdict/project_tags.h"

#include <utility>

#include "projectdb/project_query.h"
#include "tagdict/tag_server.h"

namespace quellor {

ProjectTags::ProjectTags(ProjectQuery& query) { ReadRows(query); }

void ProjectTags::ReadRows(ProjectQuery& query) {
  std::vector<ProjTag_T> rows;
  ProjTag_T current;
  while (const std::optional<ProjectRow> row = query.NextRow()) {
    ParseProjTag(*row, current);
    // Each tree's server is asked while the trend query still holds its read of the database:
    // on its own, every such query would take and release the database's lock.
    if (rows.empty() || rows.back().TagName != current.TagName) ServerOf(current.TagName);
    rows.push_back(current);
  }
  rows_ = std::move(rows);
}

std::span<const ProjTag_T> ProjectTags::Rows() {
  if (!rows_) {
    QueryParameters parameters(2);
    parameters.SetInteger(0, 0);
    parameters.SetInteger(1, 1);
    ProjectQuery query = ProjectQuery::Saved("qFTTrdData", parameters.get(), 0);
    if (query.ok()) {
      ReadRows(query);
    } else {
      rows_.emplace();
    }
  }
  return *rows_;
}

const std::optional<std::string>& ProjectTags::ServerOf(std::string_view tag_name) {
  auto it = servers_.find(tag_name);
  if (it == servers_.end()) it = servers_.emplace(tag_name, TagServerOf(tag_name)).first;
  return it->second;
}

}  // namespace quellor
