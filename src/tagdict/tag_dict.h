// CTagDict: the tag dictionary of one InTouch application (Tagname.X with Tag_Ext.X) for one
// "View" client's build step.
//
// Construction opens both files exclusively (held until destruction), checks the header and
// either loads and repairs the dictionary or initialises an empty Tagname.X. The records are
// read once into memory (tag_records.h); every later read comes from there. Writes go to
// memory and reach the files in large blocks (neighbouring records in one write): after the
// load, before the name index is written and at destruction, which then brings the header up
// to date and reports the entry count and the statistics. The header is written last, so a
// build that ends early leaves the header of the last whole build.
//
// A dictionary that did not open (either file missing or held by another build, a Tagname.X
// too short for its header, a failed read or write) stays closed: every operation then does
// nothing, and the one failure message is all that was reported.
//
// Once open, with an access-name set whose points the merge updates, the set's DDE points are
// brought in line with the dictionary (tag_dict_points.cpp): a point names a used record of its
// own tag, or goes.
//
// The class spans six files: tag_dict.cpp (open, records, flushes, the name index, close),
// tag_dict_load.cpp (load and repair), tag_dict_points.cpp, deadband_settings.cpp,
// tag_merge.cpp (the merge) and tag_statistics.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "tagdict/tag_index.h"
#include "tagdict/tag_record.h"
#include "tagdict/tag_records.h"

namespace quellor {

class CAccNames;
class ProjectQuery;
class ProjectTags;

// What the build step hands the dictionary.
struct TagDictOptions {
  std::string folder = {};  // the application folder, as the program composes it
  std::string separator = "\\";
  // The client's access-name set, or none (then no deadbands are read, no alarm group is
  // entered in the project, no tag is marked and no statistics are reported). It must outlive
  // the dictionary; the merge records the tags' DDE points in it.
  CAccNames* access_names = nullptr;
  std::vector<int> app_access_names = {};  // positions in the set: this application's access names
  bool update_dde_points = false;
  bool discrete_as_integer = false;
  // The trend rows the merge will bring, when known: room for the records they can add is
  // made as the file is read, so that the records never move while they grow.
  std::size_t expected_rows = 0;
};

// The merge's counters, reported by the statistics.
struct TagDictCounters {
  std::int32_t ProcessedTotal = 0, ProcessedSuper = 0, ProcessedIO = 0;
  std::int32_t CreatedTotal = 0, CreatedSuper = 0, CreatedIO = 0;
  std::int32_t ModifiedTotal = 0, ModifiedSuper = 0, ModifiedIO = 0;
};

// FindOrAllocateRecord's answer.
struct TagAllocation {
  // -1: the 60000-record limit is reached; 0: the dictionary is closed (it did not open, or a
  // write failed and was reported).
  std::int32_t rec_no = -1;
  bool existed = false;
  std::int32_t stored_parent = 0;  // from the index, for an existing tag
  // The tag's entry in the name index, when the dictionary keeps one; it stays valid while the
  // tag keeps its record.
  TagIdxData_T* index_entry = nullptr;
};

class CTagDict final {
 public:
  // OpenTagDict.
  explicit CTagDict(TagDictOptions options);
  // CloseTagDict.
  ~CTagDict();
  CTagDict(const CTagDict&) = delete;
  CTagDict& operator=(const CTagDict&) = delete;

  bool is_open() const { return tag_file_ != nullptr; }
  const TagDictOptions& options() const { return options_; }
  std::string TagFilePath() const;

  std::int32_t record_count() const { return record_count_; }
  std::int32_t free_head() const { return free_head_; }
  std::int32_t used_count() const { return used_count_; }
  std::int32_t default_alarm_group() const { return default_alarm_group_; }
  float DeadbandFraction() const { return deadband_fraction_; }
  float DeadbandAbsolute() const { return deadband_absolute_; }
  TagDictCounters& counters() { return counters_; }
  // The tag index; absent after the initialisation of an empty Tagname.X.
  TagIndex* tag_index() { return tag_index_ ? &*tag_index_ : nullptr; }
  const TagIndex* tag_index() const { return tag_index_ ? &*tag_index_ : nullptr; }

  // Record n as stored (1 <= n <= record count); null otherwise or when closed. Valid until a
  // record is appended.
  const TagRec_T* Record(std::int32_t n) const;
  // Copies record n into `out`; the number of bytes read (1024, or 0 outside the file).
  std::size_t ReadRecord(std::int32_t n, TagRec_T& out) const;
  // Stores record n (1 <= n <= record count); it reaches Tagname.X with the next flush.
  void WriteRecord(std::int32_t n, const TagRec_T& record);
  // Record n of Tag_Ext.X becomes 512 zero bytes with the next flush.
  void ClearCompanionRecord(std::int32_t n);

  // The record of `name`: an existing one from the index, else a free one (its companion
  // cleared, unlinked from the free chain), else a new one after the last. A new record counts
  // as used and is entered in the index under `parent`. `stored`, when given, receives the
  // stored record of an existing tag.
  TagAllocation FindOrAllocateRecord(std::string_view name, std::int32_t parent,
                                     TagRec_T* stored = nullptr);
  // Frees used record n as a load frees one: zeroed but for its next-free link, at the head of
  // the free chain, out of the index and the used count, its companion record cleared.
  void FreeRecord(std::int32_t n);
  // InitTagRecord with this dictionary's default alarm group.
  void InitTagRecord(TagRec_T& dest, std::int32_t parent, const TagRec_T* stored) const;

  // Merges the project's trend rows (tag_merge.h); nothing when the dictionary is closed or
  // there is no row.
  void BuildFromProject(ProjectTags& project);
  // The same with the rows of a prepared trend query, read whole first. The caller keeps and
  // releases the query.
  void BuildFromProject(ProjectQuery& query);

  // Writes what changed in memory to the files: the cleared companion records, then the
  // changed records, neighbours in one write. A failed write closes the dictionary.
  void FlushChanges();

  // Writes Tagnames.NDX (after flushing the changes): the 129-byte name field of every record,
  // in record order.
  void WriteNameIndex();

 private:
  void Open();
  void ReadDeadbandSettings();
  void InitialiseEmpty();
  [[noreturn]] void ExitOldFormat();
  Status ReadAllRecords(std::uint64_t file_size);
  // The room to make for `count` records read from the file and those the expected rows can
  // add.
  std::size_t RecordRoom(std::size_t count) const;
  void LoadTagDict();
  // Enters `name` in the index with `entry`, in place of what the name had; its index entry.
  TagIdxData_T& IndexTag(std::string_view name, TagIdxData_T entry);
  // The index entry of each record's name, by record number (null for a free record), so that
  // the passes after the first look no name up again. The records of one name share its entry,
  // and with it their verdict as orphans: removing the orphans nulls theirs and leaves the
  // entries of the records that stay valid.
  using IndexEntries = std::vector<TagIdxData_T*>;
  // What the first pass learns of the "$System" alarm group: its record (0 when there is none)
  // and how many used records have no alarm group, which pass 4 gives it.
  struct SystemGroup {
    std::int32_t record = 0;
    std::int32_t records_without_group = 0;
  };
  // The passes after the first also take from it, by record number, whether the record's name
  // holds the separator (a member tag's name), so that they need not read the names again.
  SystemGroup CountCleanAndIndex(std::vector<std::int32_t>& cleared, IndexEntries& entries,
                                 std::vector<bool>& members);
  void LinkParents(const IndexEntries& entries);
  void RemoveOrphans(std::vector<std::int32_t>& cleared, IndexEntries& entries,
                     const std::vector<bool>& members);
  std::vector<bool> FindOrphans(const IndexEntries& entries,
                                const std::vector<bool>& members) const;
  void RebuildFreeChain(std::int32_t system_group);
  void MarkApplicationAccess(const IndexEntries& entries);
  std::vector<std::int32_t> ApplicationSourceIds() const;
  void ReconcileDDEPoints();
  // The record of the tag a DDE point names: `tag_index` when that record holds the tag (its
  // name compared without regard to case, as the points are), else the record the index gives
  // for the name, else 0.
  std::int32_t RecordOfPoint(std::string_view tag_name, std::int32_t tag_index) const;
  void InsertAlarmGroup(std::string_view name) const;
  void ClearCompanionRecords(std::span<const std::int32_t> sorted);
  void FlushDirtyRecords();
  void UpdateHeader();
  void ReportTagStatistics() const;
  // A failed read or write: reported as the failed open of that file, `reason` on standard
  // error; the dictionary closes.
  void Fail(std::string_view suffix, const Status& reason);
  // Why the open Tagname.X is refused, for Fail().
  Status NotADictionary(std::string_view why) const;

  const TagDictOptions options_;
  std::unique_ptr<File> tag_file_;
  std::unique_ptr<File> companion_file_;
  TagRecords records_;                          // records_[n - 1] is record n
  std::vector<bool> dirty_;                     // records changed in memory, not yet written
  std::vector<std::int32_t> companion_clears_;  // companion records to clear, not yet written
  std::int32_t free_head_ = 0;
  std::int32_t used_count_ = 0;
  std::int32_t record_count_ = 0;
  std::optional<TagIndex> tag_index_;
  float deadband_fraction_ = 0.005f;
  float deadband_absolute_ = 1.0f;
  TagDictCounters counters_;
  std::int32_t default_alarm_group_ = 0;
};

// LoadProjectTags: merges the project's trend rows into `dict` as an application's build does:
// qFTTrdData prepared with the parameters 0 and 1, option 0. A query that cannot be prepared
// is silent: the dictionary keeps what it had. `project` is shared by the applications of one
// build; without it the rows are read for this dictionary alone.
void LoadProjectTags(CTagDict& dict, ProjectTags& project);
void LoadProjectTags(CTagDict& dict);

}  // namespace quellor
