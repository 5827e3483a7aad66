#include "tagdict/project_tags.h"

#include <utility>

#include "projectdb/project_query.h"
#include "tagdict/tag_server.h"
#include "tagdict/tag_server_table.h"

namespace quellor {
namespace {

// Where the trees' servers come from while the trend rows are read: qFTTagServer for the
// first tree, then the table of every tag's server where the query could be prepared and the
// table can be read, and the query again for a tree the table leaves to it.
class TreeServers final {
 public:
  std::optional<std::string> Of(std::string_view tree) {
    if (!asked_) {
      asked_ = true;
      TagServerAnswer answer = AskTagServer(tree);
      if (answer.prepared) table_ = TagServerTable::Read();
      return std::move(answer.server);
    }
    if (table_) {
      if (const std::optional<std::string>* known = table_->Find(tree)) return *known;
    }
    return TagServerOf(tree);
  }

 private:
  bool asked_ = false;
  std::optional<TagServerTable> table_;
};

}  // namespace

ProjectTags::ProjectTags(ProjectQuery& query) { ReadRows(query); }

void ProjectTags::ReadRows(ProjectQuery& query) {
  std::vector<ProjTag_T> rows;
  ProjTag_T current;
  TreeServers tree_servers;
  while (const std::optional<ProjectRow> row = query.NextRow()) {
    ParseProjTag(*row, current);
    // Each tree's server is asked while the trend query still holds its read of the database:
    // on its own, every such query would take and release the database's lock.
    if ((rows.empty() || rows.back().TagName != current.TagName) &&
        servers_.Find(current.TagName) == nullptr) {
      servers_.TryEmplace(current.TagName, tree_servers.Of(current.TagName));
    }
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
  if (const std::optional<std::string>* const known = servers_.Find(tag_name)) return *known;
  return *servers_.TryEmplace(tag_name, TagServerOf(tag_name)).first;
}

}  // namespace quellor
