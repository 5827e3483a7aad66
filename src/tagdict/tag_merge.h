// The merge of the project's trend rows into the tag dictionary: each row path becomes a
// top-level tag with members (and members of members), found or allocated by name, compared
// with the stored record and reported when it changed, written bottom-up so that a parent on
// disk only ever lists members that exist, with the DDE point of every I/O tag recorded in the
// access-name set.
//
// Rows are taken forward only from the project's tags (project_tags.h). Each AddProjectTags call is
// one group level: it consumes the rows whose group key at its level is the key it started with and
// returns on the first row of another group, which stays current for the caller. Cost per row: one
// tag-index lookup, a bounded number of record reads and writes, one server lookup per top-level
// tag.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/dense_set.h"
#include "tagdict/proj_tag.h"
#include "tagdict/tag_record.h"
#include "tagdict/tag_server.h"

namespace quellor {

class CTagDict;
struct TagAllocation;
class ProjectTags;

// The group key of `row` at level L: "" at 0, TagName at 1, TagName.FieldName at 2,
// TagName.FieldName.SubfieldName at 3.
std::string GroupKey(const ProjTag_T& row, int level);
// Whether GroupKey(row, level) is `key`, without building it.
bool InGroup(const ProjTag_T& row, int level, std::string_view key);

class TagMerge final {
 public:
  TagMerge(CTagDict& dict, ProjectTags& project) : dict_(dict), project_(project) {}
  TagMerge(const TagMerge&) = delete;
  TagMerge& operator=(const TagMerge&) = delete;

  // BuildFromProject: merges every row of the project's tags.
  void Run();

 private:
  // One group level; `counter` counts the members stored under `parent` in this build.
  void AddProjectTags(int level, TagRec_T& parent, std::int32_t parent_no, std::int32_t& counter);
  // Makes the next row current; sets the stop flag when there is none.
  void FetchNextRow();
  // Writes `tag`, links it into its parent, records its DDE point and counts it. A tag that is
  // incompatible with its stored record keeps that record and its place in its parent's list;
  // the members this build made for it are undone.
  // `stored` is the stored record of a tag the allocation found.
  void StoreTag(TagRec_T& parent, TagRec_T& tag, const TagAllocation& allocation,
                const TagRec_T& stored, int level, std::int32_t& counter, std::int32_t source_id,
                std::string_view item_name);
  // Puts member `rec_no` in the next slot of `parent`'s list, while a slot is left.
  void LinkMember(TagRec_T& parent, std::int32_t rec_no, std::int32_t& counter);
  // The DDE point of an I/O tag written at `rec_no`: an existing tag's old point goes first.
  void RecordPoint(const TagRec_T& tag, bool existed, std::int32_t rec_no, std::int32_t source_id,
                   std::string_view item_name);
  // Undoes the members that `built` lists and `stored` does not, with their own members: their
  // records are freed, their points removed and they no longer count as created.
  void DiscardMadeMembers(const TagRec_T& built, const TagRec_T& stored);
  void DiscardMadeTree(std::int32_t rec_no);
  // The member "<parent>\v" of a field, subfield or field-tag group. `parent_item` is the item
  // name of the parent, so the member reads "<parent item>.v".
  void AddValueMember(TagRec_T& parent, std::int32_t parent_no, std::int32_t& counter,
                      std::int32_t source_id, std::string_view parent_item);
  // The logged flag and the I/O fields of `tag` for its type (io_fields.cpp); the access name
  // is the project's CurrentAccessNameID.
  void SetIoFields(TagRec_T& tag, const ProjTag_T& row, bool is_new,
                   std::string_view item_text) const;
  // At the 60000-record limit: the limit's message, and on standard error the tag `name` that
  // was not created (dropped_tags.cpp).
  void ReportDictionaryFull(std::string_view name) const;
  // When the merge stops at the limit: on standard error, each top-level tag of the rows after
  // the current one, which the merge does not reach.
  void NameTagsNotReached() const;
  // The item name of a tag name (before any "Y" prefix): separators become dots.
  std::string ItemName(std::string_view name) const;
  // The name of a tag to make at `level` from `row` within group `key`, with its member level;
  // an empty name when the row makes no tag at this level.
  std::string TagNameAt(int level, const ProjTag_T& row, const std::string& key,
                        int& member_level) const;

  CTagDict& dict_;
  ProjectTags& project_;
  std::span<const ProjTag_T> rows_;
  std::size_t next_row_ = 0;                    // the row after the current one
  const ProjTag_T* row_ = nullptr;              // the current row
  bool stop_ = false;                           // no further row, or the dictionary is full
  std::int32_t family_ = 0;                     // kind of the top-level row of the tree being built
  std::optional<TagServerLookup> tag_servers_;  // with the client's access names only
  DenseSet made_;                               // the records of the tags this build made
};

}  // namespace quellor
