// ProjectTags: what the tag merge reads from the project, read once per build and shared by
// the merges of all its HMI applications: the trend rows (qFTTrdData, parsed) and the server
// computer of each top-level tag (qFTTagServer, or the table of every tag's server that stands
// in for it). Every application's merge reads the same rows and asks for the same tags'
// servers, and the project does not change while a build runs, so a second application's
// merge asks the database nothing. It also holds the one value the merges carry from tag to
// tag, CurrentAccessNameID.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/name_index.h"
#include "base/string_hash.h"
#include "tagdict/proj_tag.h"

namespace quellor {

class ProjectQuery;

class ProjectTags final {
 public:
  // Reads qFTTrdData, prepared with the parameters 0 and 1 and option 0, at the first use of
  // Rows(). A query that cannot be prepared gives no rows: the dictionaries keep what they had.
  ProjectTags() = default;
  // The rows of a prepared trend query instead, read now.
  explicit ProjectTags(ProjectQuery& query);
  ProjectTags(const ProjectTags&) = delete;
  ProjectTags& operator=(const ProjectTags&) = delete;

  // The trend rows in the query's order, as ParseProjTag leaves the current row after each
  // fetch (a row that is no array repeats the one before it). Valid while this object lives.
  std::span<const ProjTag_T> Rows();

  // The server computer the project gives for `tag_name` (TagServerOf), asked once per name;
  // the name of every tree of the rows is asked while they are read.
  const std::optional<std::string>& ServerOf(std::string_view tag_name);

  // The DDE Source ID found for the current top-level tag of a merge; 0 = none. Set when a
  // top-level tag is looked up, read by its members.
  std::int32_t CurrentAccessNameID() const { return current_access_name_id_; }
  void SetCurrentAccessNameID(std::int32_t id) { current_access_name_id_ = id; }

 private:
  void ReadRows(ProjectQuery& query);

  std::optional<std::vector<ProjTag_T>> rows_;
  NameIndex<std::optional<std::string>, StringHash, std::equal_to<>> servers_;
  std::int32_t current_access_name_id_ = 0;
};

}  // namespace quellor
