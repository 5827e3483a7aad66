// LoadTagDict: the five passes that read an existing dictionary, repair it and index it. All
// passes work on the records in memory; the changed records are written back once, at the end.
#include <algorithm>
#include <string>
#include <utility>

#include "accessnames/acc_names.h"
#include "base/ascii.h"
#include "base/format.h"
#include "projectdb/project_query.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"

namespace quellor {

namespace tl = tag_layout;

void CTagDict::LoadTagDict() {
  tag_index_.emplace();
  // Sized for the tags the merge can add as well, so that it never rehashes.
  tag_index_->Reserve(records_.capacity());
  std::vector<std::int32_t> cleared;  // records whose companion record is cleared
  IndexEntries entries;
  std::vector<bool> members;  // by record number: the name holds the separator
  const SystemGroup system_group = CountCleanAndIndex(cleared, entries, members);
  LinkParents(entries);
  RemoveOrphans(cleared, entries, members);
  // Pass 4 then changes most pages of the records read (the load after a first build, which
  // leaves its tags without an alarm group): copying them all at once costs less.
  if (system_group.record != 0 && system_group.records_without_group > record_count_ / 4) {
    records_.OwnRecordsRead();
  }
  RebuildFreeChain(system_group.record);
  if (options_.access_names != nullptr) MarkApplicationAccess(entries);
  companion_clears_ = std::move(cleared);
  FlushChanges();
}

TagIdxData_T& CTagDict::IndexTag(std::string_view name, TagIdxData_T entry) {
  const auto [indexed, added] = tag_index_->TryEmplace(name, entry);
  if (!added) *indexed = entry;
  return *indexed;
}

// Pass 1: free records are zeroed, used ones indexed; alarm groups other than "$System" are
// entered in the project. The "$System" alarm group is the last one met.
CTagDict::SystemGroup CTagDict::CountCleanAndIndex(std::vector<std::int32_t>& cleared,
                                                   IndexEntries& entries,
                                                   std::vector<bool>& members) {
  SystemGroup system_group;
  entries.assign(static_cast<std::size_t>(record_count_) + 1, nullptr);
  members.assign(static_cast<std::size_t>(record_count_) + 1, false);
  for (std::int32_t n = 1; n <= record_count_; ++n) {
    TagRec_T& record = records_[static_cast<std::size_t>(n - 1)];
    if (record.IsFree()) {
      const auto& bytes = record.bytes();
      if (std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != 0; })) {
        record.Clear();
        dirty_[static_cast<std::size_t>(n - 1)] = true;
      }
      cleared.push_back(n);
      continue;
    }
    const std::string_view name = record.Name();
    entries[static_cast<std::size_t>(n)] = &IndexTag(name, TagIdxData_T{n});
    members[static_cast<std::size_t>(n)] = name.find('\\') != std::string_view::npos;
    if (record.AlarmGroup() == 0) ++system_group.records_without_group;
    if (record.Type() != tl::kTypeAlarmGroup) continue;
    if (EqualsIgnoreCase(record.Name(), "$System")) {
      system_group.record = n;
    } else if (options_.access_names != nullptr) {
      InsertAlarmGroup(record.Name());
    }
  }
  return system_group;
}

// Pass 2: every member a used record lists gets that record as its parent. A member number
// of 0 or beyond the record count names no record and is passed over.
void CTagDict::LinkParents(const IndexEntries& entries) {
  for (std::int32_t n = 1; n <= record_count_; ++n) {
    const TagRec_T& record = records_[static_cast<std::size_t>(n - 1)];
    if (record.IsFree()) continue;
    const std::uint32_t count = record.MemberCount();
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::int32_t member = record.Member(i);
      if (Record(member) == nullptr) continue;
      if (TagIdxData_T* entry = entries[static_cast<std::size_t>(member)]) entry->ParentRecNo = n;
    }
  }
}

// Pass 3: a member tag (its name holds the separator) stays only while the records that list
// it lead up to a tag whose name has none: a member that no used record lists is an orphan, and
// so is every member below an orphan, which would otherwise keep a parent whose record another
// tag may take. Orphans leave the index and their records are freed. A second record of an
// orphan's name is an orphan as well. A tag without the separator is never an orphan; one that
// only an orphan listed is left with no parent.
void CTagDict::RemoveOrphans(std::vector<std::int32_t>& cleared, IndexEntries& entries,
                             const std::vector<bool>& members) {
  const std::vector<bool> orphan = FindOrphans(entries, members);
  if (std::find(orphan.begin(), orphan.end(), true) == orphan.end()) return;
  for (std::int32_t n = 1; n <= record_count_; ++n) {
    if (!orphan[static_cast<std::size_t>(n)]) continue;
    entries[static_cast<std::size_t>(n)] = nullptr;
    TagRec_T& record = records_[static_cast<std::size_t>(n - 1)];
    tag_index_->Erase(record.Name());
    record.Clear();
    dirty_[static_cast<std::size_t>(n - 1)] = true;
    cleared.push_back(n);
  }
  tag_index_->ForEach([&orphan](std::string_view, TagIdxData_T& entry) {
    if (orphan[static_cast<std::size_t>(entry.ParentRecNo)]) entry.ParentRecNo = 0;
  });
}

// orphan[n] for every record n (slot 0 unused). Each record's verdict is that of the first
// record up its chain of listing parents that has one, so every record is walked once; a chain
// that comes back to itself reaches no top-level tag.
std::vector<bool> CTagDict::FindOrphans(const IndexEntries& entries,
                                        const std::vector<bool>& members) const {
  enum class Verdict : std::uint8_t { kUnknown, kWalking, kKept, kOrphan };
  std::vector<Verdict> verdicts(static_cast<std::size_t>(record_count_) + 1, Verdict::kUnknown);
  std::vector<std::int32_t> chain;
  for (std::int32_t start = 1; start <= record_count_; ++start) {
    Verdict verdict = Verdict::kKept;
    for (std::int32_t n = start;;) {
      Verdict& known = verdicts[static_cast<std::size_t>(n)];
      if (!members[static_cast<std::size_t>(n)]) break;  // top level (or free): kept
      if (known != Verdict::kUnknown) {
        verdict = known == Verdict::kWalking ? Verdict::kOrphan : known;
        break;
      }
      known = Verdict::kWalking;
      chain.push_back(n);
      const TagIdxData_T* entry = entries[static_cast<std::size_t>(n)];
      if (entry == nullptr || entry->ParentRecNo == 0) {
        verdict = Verdict::kOrphan;
        break;
      }
      n = entry->ParentRecNo;
    }
    for (const std::int32_t n : chain) verdicts[static_cast<std::size_t>(n)] = verdict;
    chain.clear();
  }
  std::vector<bool> orphan(verdicts.size());
  for (std::size_t n = 1; n < verdicts.size(); ++n) orphan[n] = verdicts[n] == Verdict::kOrphan;
  return orphan;
}

// Pass 4: the free chain from the highest free record down, the used count, and the "$System"
// alarm group for every used record without one.
void CTagDict::RebuildFreeChain(std::int32_t system_group) {
  free_head_ = 0;
  used_count_ = 0;
  for (std::int32_t n = 1; n <= record_count_; ++n) {
    TagRec_T& record = records_[static_cast<std::size_t>(n - 1)];
    const auto set = [&](std::size_t offset, std::int32_t value) {
      if (record.I32(offset) == value) return;
      record.SetI32(offset, value);
      dirty_[static_cast<std::size_t>(n - 1)] = true;
    };
    if (record.IsFree()) {
      set(tl::kNextFree, free_head_);
      free_head_ = n;
      continue;
    }
    ++used_count_;
    set(tl::kNextFree, 0);
    if (system_group != 0 && record.AlarmGroup() == 0) set(tl::kAlarmGroup, system_group);
  }
}

// Pass 5: a stored I/O tag whose access name is one of the application's is marked, unless it
// is a system tag.
void CTagDict::MarkApplicationAccess(const IndexEntries& entries) {
  const std::vector<std::int32_t> app_ids = ApplicationSourceIds();
  for (std::int32_t n = 1; n <= record_count_; ++n) {
    const TagRec_T& record = records_[static_cast<std::size_t>(n - 1)];
    if (record.IsFree() || !tl::IsIoType(record.Type())) continue;
    const std::string_view name = record.Name();
    if (name.starts_with("ZZ") || name.starts_with("$")) continue;
    if (!std::binary_search(app_ids.begin(), app_ids.end(), record.AccessName())) continue;
    if (TagIdxData_T* entry = entries[static_cast<std::size_t>(n)]) entry->PelnetAccess = 1;
  }
}

// The DDE Source IDs of the application's access names, sorted: looked up once rather than for
// every record. A position outside the set names no access name.
std::vector<std::int32_t> CTagDict::ApplicationSourceIds() const {
  const CAccNames& names = *options_.access_names;
  std::vector<std::int32_t> ids;
  for (const int index : options_.app_access_names) {
    if (index < 0 || index >= names.GetCount()) continue;
    int id = 0;
    names.GetSourceID(index, id);
    ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

void CTagDict::InsertAlarmGroup(std::string_view name) const {
  const std::string sql = StringPrintf(
      "INSERT INTO AlarmGroupNames ( AlarmGroupID, AlarmGroupName ) SELECT "
      "MIN(AlarmGroupID+1) AS minID, %s AS Expr2 FROM AlarmGroupNames WHERE AlarmGroupID+1 "
      "NOT IN (SELECT AlarmGroupID FROM AlarmGroupNames) AND AlarmGroupID+1 BETWEEN 1 AND 255",
      AccessStringLiteral(name).c_str());
  if (!TagDll().loaded()) return;  // no project attached: nothing can be prepared
  ProjectQuery query = ProjectQuery::Sql(sql.c_str(), nullptr, 1);
  if (!query.ok()) return;
  if (query.Execute() >= 0) {
    Report(StringPrintf("Alarm Group: %s added to project database", std::string(name).c_str()));
  }
}

}  // namespace quellor
