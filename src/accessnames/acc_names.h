// CAccNames: the access-name set of one client application.
//
// For an InTouch application the set starts as its DDE.CFG (dde_cfg.h), takes the project's
// access names one row at a time (MergeAccessName), records the DDE point of every I/O tag
// during the tag merge (SetTagPoint, ReplaceTagPoint, RemoveTagPoint) and is written back to
// DDE.CFG. For a historian node it is built from the project rows alone and never written.
//
// Records are only ever appended, so an index handed out by MergeAccessName stays valid for
// the life of the set. Lookups keep first-match order (the lowest index wins) through indices
// kept beside the records, so that every per-tag operation is amortised O(1).
//
// An index below 0, or at or above the count where an operation does not say it skips it, is
// a programming error: it ends the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "accessnames/acc_name.h"
#include "accessnames/point_refs.h"
#include "base/ascii.h"
#include "base/name_index.h"

namespace quellor {

class CAccNames final {
 public:
  // An empty set, as the DDE.CFG reader starts it: LastDDESource 0, no records.
  CAccNames() = default;
  // The set of a historian node: an empty set into which `row` is merged; `index` receives
  // the record's position (0).
  CAccNames(ProjAccName_T& row, int& index);

  CAccNames(CAccNames&&) = default;
  CAccNames& operator=(CAccNames&&) = default;
  CAccNames(const CAccNames&) = delete;
  CAccNames& operator=(const CAccNames&) = delete;

  // Merges one project row: a new access name is appended with the next DDE Source ID, a
  // known one (same name without regard to case) takes the row's topic, servers and
  // application, with one message per change. An empty Topic of `row` is set to its default.
  // `index` receives the record's position.
  void MergeAccessName(ProjAccName_T& row, int& index);

  int GetCount() const { return static_cast<int>(names_.size()); }
  std::int32_t GetLastDDESource() const { return last_dde_source_; }
  // Requires 0 <= index < GetCount().
  const AccName_T& GetRecord(int index) const;
  std::string GetSourceName(int index) const { return GetRecord(index).SourceName; }
  std::string GetTopicName(int index) const { return GetRecord(index).TopicName; }
  std::string GetApplicationName(int index) const { return GetRecord(index).ApplicationName; }
  // Sets `id` to the record's DDE Source ID; an index at or above the count leaves it unchanged.
  void GetSourceID(int index, int& id) const;

  // Sets AlwaysAdvise of every listed record; indices at or above the count are skipped.
  void SetAlwaysAdvise(std::span<const int> indices, int value);
  // Records that tag `tag_name` (record `tag_index` of Tagname.X) reads `item_name` through the
  // first access name whose DDE Source ID is `source_id`; an unknown ID records nothing. A new
  // point goes to the front; a changed one keeps its place and is reported.
  void SetTagPoint(int source_id, std::string_view tag_name, int tag_index,
                   std::string_view item_name);
  // Removes the first point, in record order, whose tag name equals `tag_name` exactly.
  void RemoveTagPoint(std::string_view tag_name);
  // RemoveTagPoint, then SetTagPoint, as the merge does for a tag the dictionary held already,
  // with the name looked up once.
  void ReplaceTagPoint(int source_id, std::string_view tag_name, int tag_index,
                       std::string_view item_name);
  // Brings the points in line with the tag dictionary they name records of. `record_of(tag_name,
  // tag_index)` gives the record the tag `tag_name` has now (`tag_index` itself when the point
  // is right), or 0 when the dictionary holds no such tag. A point then moves to its tag's
  // record or goes, and a later point naming a record that has one already goes too, so that
  // every point names a record of its own tag and no record has two. Each access name whose
  // points changed is reported once with the counts; the points themselves are listed on
  // standard error, since a replaced dictionary may leave thousands of them.
  void ReconcileTagPoints(const std::function<int(std::string_view, int)>& record_of);
  // The DDE Source ID of the best "PelnetData" access name of the list for a tag served by
  // computer `server` (local and read-write first), or 0 when the list holds none.
  void SelectPelnetSource(std::span<const int> indices, std::string_view server, int& id) const;

  // For the DDE.CFG reader: sets the "Last DDE Source" value, appends a finished record.
  void SetLastDDESource(std::int32_t value) { last_dde_source_ = value; }
  void AppendRecord(AccName_T record);

  // For the DDE.CFG writer: the placeholder access name "Dummy"/"Dummy" takes the master
  // server and application of the first other "PelnetData" access name.
  void FixUpPlaceholder();

 private:
  AccName_T& RecordAt(int index);
  std::int32_t NextSourceID();
  // Enters the point `key` of record `record` in the point index.
  void IndexPoint(std::size_t record, DDEPoints::Key key, std::string_view tag_name);
  // The places of the points of `tag_name` (without regard to case), an empty entry for a new
  // name.
  PointRefs& PointRefsOf(std::string_view tag_name);
  // RemoveTagPoint; returns the index entry of the name (null when it has none), for a point
  // set in its place.
  PointRefs* RemoveExactPoint(std::string_view tag_name);
  // SetTagPoint on record `position`, whose points of the name are in `refs`.
  void SetPointOf(std::size_t position, PointRefs& refs, std::string_view tag_name, int tag_index,
                  std::string_view item_name);
  // Removes the point `key` of record `record` from the record and from the point index.
  void DropPoint(std::size_t record, DDEPoints::Key key);

  std::int32_t last_dde_source_ = 0;
  std::vector<AccName_T> names_;
  // The first record of each source name (without regard to case) and of each DDE Source ID.
  std::unordered_map<std::string, std::size_t, CaseInsensitiveHash, CaseInsensitiveEqual> by_name_;
  std::unordered_map<std::int32_t, std::size_t> by_id_;
  bool has_ids_ = false;
  std::int32_t highest_id_ = 0;
  // Where the points of each tag name (without regard to case) are: one entry per live point,
  // in no particular order; most names have one. Both point operations of a tag look up one
  // entry. An entry whose points were all removed stays, empty, for the point set next: no
  // entry leaves before the set does.
  using PointIndex = NameIndex<PointRefs, CaseInsensitiveHash, CaseInsensitiveEqual>;
  // Made at its first use: a set that never holds a point has none, and neither has a set
  // moved from until it is used again.
  PointIndex& point_index() {
    if (point_index_ == nullptr) point_index_ = std::make_unique<PointIndex>();
    return *point_index_;
  }
  std::unique_ptr<PointIndex> point_index_;
};

}  // namespace quellor
