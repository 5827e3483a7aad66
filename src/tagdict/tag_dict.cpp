#include "tagdict/tag_dict.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

#include "base/format.h"
#include "platform/atomic_file.h"
#include "platform/file_appender.h"
#include "platform/files.h"
#include "platform/process.h"
#include "report/failure_reason.h"
#include "report/report.h"
#include "report/report_channel.h"

namespace quellor {

namespace tl = tag_layout;

CTagDict::CTagDict(TagDictOptions options) : options_(std::move(options)) {
  if (options_.access_names != nullptr) ReadDeadbandSettings();
  Open();
  ReconcileDDEPoints();
}

CTagDict::~CTagDict() {
  FlushChanges();
  if (tag_file_ != nullptr) {
    UpdateHeader();
    if (options_.access_names != nullptr && tag_index_) ReportTagStatistics();
  }
  tag_file_.reset();
  companion_file_.reset();
  tag_index_.reset();
}

std::string CTagDict::TagFilePath() const { return options_.folder + tl::kTagFileName; }

void CTagDict::Open() {
  const std::string tag_path = TagFilePath();
  auto tag_file = OpenExclusive(tag_path, ExclusiveCreation::kOpenExisting);
  if (!tag_file.ok()) {
    ReportFileFailure("Failed to open %s", tag_path, tag_file.status());
    return;
  }
  const std::string companion_path = options_.folder + tl::kCompanionFileName;
  auto companion_file = OpenExclusive(companion_path, ExclusiveCreation::kOpenExisting);
  if (!companion_file.ok()) {
    // Without its companion the dictionary is not built at all: Tagname.X closes again.
    ReportFileFailure("Failed to open %s", companion_path, companion_file.status());
    return;
  }
  tag_file_ = std::move(tag_file.value());
  companion_file_ = std::move(companion_file.value());

  const auto size = tag_file_->Size();
  if (!size.ok()) return Fail(tl::kTagFileName, size.status());
  if (*size == 0) return InitialiseEmpty();
  // A file shorter than its header, or without the magic number, is no dictionary; it is neither
  // read nor written.
  if (*size < tl::kHeaderSize)
    return Fail(tl::kTagFileName, NotADictionary("ends inside its header"));

  std::array<std::uint8_t, tl::kHeaderSize> bytes{};
  if (const Status read = ReadAtExactly(*tag_file_, 0, bytes); !read.ok()) {
    return Fail(tl::kTagFileName, read);
  }
  const TagHdr_T header = TagHdr_T::Decode(bytes);
  if (header.magic != tl::kMagic) {
    return Fail(tl::kTagFileName,
                NotADictionary(StringPrintf("has the magic number 0x%08X, not 0x%08X", header.magic,
                                            tl::kMagic)));
  }
  if (header.version < tl::kLowestVersion) ExitOldFormat();
  if (const Status read = ReadAllRecords(*size); !read.ok()) return Fail(tl::kTagFileName, read);
  LoadTagDict();
}

void CTagDict::InitialiseEmpty() {
  const std::array<std::uint8_t, tl::kCompanionRecordSize> zeros{};
  if (const Status written = companion_file_->WriteAt(0, zeros); !written.ok()) {
    return Fail(tl::kCompanionFileName, written);
  }
  // Version 9, the lowest the reader accepts: the next build must not refuse this file.
  const TagHdr_T header{.version = tl::kLowestVersion};
  if (const Status written = tag_file_->WriteAt(0, header.Encode()); !written.ok()) {
    return Fail(tl::kTagFileName, written);
  }
  records_.Reset(RecordRoom(0));
  dirty_.reserve(records_.capacity());
  record_count_ = free_head_ = used_count_ = 0;
}

std::size_t CTagDict::RecordRoom(std::size_t count) const {
  // A row adds its tag and, for the first row of a tree or field, that record too: two records
  // a row bound what a merge appends, and the file's limit bounds that.
  return std::min<std::size_t>(std::max<std::size_t>(count, tl::kMaxRecords),
                               count + 2 * options_.expected_rows);
}

void CTagDict::ExitOldFormat() {
  Report("Old format tag dictionary detected, exiting", 0, 1);
  tag_file_.reset();
  companion_file_.reset();
  CloseReportChannel();
  EndProcess(1);
}

Status CTagDict::ReadAllRecords(std::uint64_t file_size) {
  // Whole records after unit 0; a trailing part-record is left for the next append to cover.
  const std::uint64_t whole = file_size / tl::kRecordSize;
  const std::size_t count = whole == 0 ? 0 : static_cast<std::size_t>(whole - 1);
  if (const std::uint64_t cut = file_size % tl::kRecordSize; whole > 0 && cut != 0) {
    Report(StringPrintf("TagName.X : %s ends inside a record, its last %llu bytes are ignored",
                        TagFilePath().c_str(), static_cast<unsigned long long>(cut)),
           1, 0);
  }
  if (const Status read = records_.Read(*tag_file_, count, RecordRoom(count)); !read.ok()) {
    return read;
  }
  dirty_.reserve(records_.capacity());
  dirty_.assign(count, false);
  record_count_ = static_cast<std::int32_t>(count);
  return Status::Ok();
}

const TagRec_T* CTagDict::Record(std::int32_t n) const {
  if (n < 1 || n > record_count_ || static_cast<std::size_t>(n) > records_.size()) return nullptr;
  return &records_[static_cast<std::size_t>(n - 1)];
}

std::size_t CTagDict::ReadRecord(std::int32_t n, TagRec_T& out) const {
  const TagRec_T* record = Record(n);
  if (record == nullptr) return 0;
  out = *record;
  return tl::kRecordSize;
}

void CTagDict::WriteRecord(std::int32_t n, const TagRec_T& record) {
  if (tag_file_ == nullptr || Record(n) == nullptr) return;
  TagRec_T& held = records_[static_cast<std::size_t>(n - 1)];
  // A record whose bytes stay as they are needs no write: a rebuild without change then
  // writes none of the dictionary's records.
  if (held.bytes() == record.bytes()) return;
  held = record;
  dirty_[static_cast<std::size_t>(n - 1)] = true;
}

void CTagDict::ClearCompanionRecord(std::int32_t n) {
  if (tag_file_ != nullptr) companion_clears_.push_back(n);
}

namespace {

// Record numbers are positive and dense: marking them sorts them and drops repeats in linear
// time, where a merge of 60000 records would otherwise sort as many numbers.
void SortAndDropRepeats(std::vector<std::int32_t>& record_numbers) {
  if (record_numbers.empty()) return;
  const std::int32_t highest = *std::max_element(record_numbers.begin(), record_numbers.end());
  std::vector<bool> marked(static_cast<std::size_t>(highest) + 1);
  for (const std::int32_t n : record_numbers) marked[static_cast<std::size_t>(n)] = true;
  record_numbers.clear();
  for (std::size_t n = 0; n < marked.size(); ++n) {
    if (marked[n]) record_numbers.push_back(static_cast<std::int32_t>(n));
  }
}

}  // namespace

void CTagDict::FlushChanges() {
  if (tag_file_ == nullptr) return;
  // Companion records first: a record written with a new tag never meets its old companion.
  SortAndDropRepeats(companion_clears_);
  ClearCompanionRecords(companion_clears_);
  companion_clears_.clear();
  FlushDirtyRecords();
}

void CTagDict::ClearCompanionRecords(std::span<const std::int32_t> sorted) {
  if (companion_file_ == nullptr || sorted.empty()) return;
  const auto size = companion_file_->Size();
  if (!size.ok()) return Fail(tl::kCompanionFileName, size.status());
  // Neighbouring records are cleared with one write; past the end of Tag_Ext.X, growing the
  // file gives the same zeros without writing them.
  std::vector<std::uint8_t> zeros;
  std::uint64_t grow_to = 0;
  for (std::size_t i = 0; i < sorted.size();) {
    std::size_t end = i + 1;
    while (end < sorted.size() && sorted[end] == sorted[end - 1] + 1) ++end;
    const std::uint64_t from = tl::CompanionOffset(sorted[i]);
    const std::uint64_t to = from + (end - i) * tl::kCompanionRecordSize;
    const std::uint64_t written_to = std::min(to, *size);
    if (from < written_to) {
      zeros.assign(static_cast<std::size_t>(written_to - from), 0);
      if (const Status written = companion_file_->WriteAt(from, zeros); !written.ok()) {
        return Fail(tl::kCompanionFileName, written);
      }
    }
    grow_to = std::max(grow_to, to);
    i = end;
  }
  if (grow_to <= *size) return;
  if (const Status extended = companion_file_->Extend(grow_to); !extended.ok()) {
    Fail(tl::kCompanionFileName, extended);
  }
}

void CTagDict::FlushDirtyRecords() {
  // Each run of neighbouring changed records is written with one write, from the records (a run
  // that reaches from the records read to those appended, with two).
  for (std::size_t i = 0; i < dirty_.size() && tag_file_ != nullptr;) {
    if (!dirty_[i]) {
      ++i;
      continue;
    }
    const std::size_t run_end = std::min(dirty_.size(), records_.RunEnd(i));
    std::size_t end = i;
    while (end < run_end && dirty_[end]) dirty_[end++] = false;
    const auto offset = tl::RecordOffset(static_cast<std::int32_t>(i + 1));
    if (const Status written = tag_file_->WriteAt(offset, records_.Bytes(i, end - i));
        !written.ok()) {
      return Fail(tl::kTagFileName, written);
    }
    i = end;
  }
}

TagAllocation CTagDict::FindOrAllocateRecord(std::string_view name, std::int32_t parent,
                                             TagRec_T* stored) {
  TagAllocation result;
  if (tag_file_ == nullptr) return TagAllocation{.rec_no = 0};
  if (tag_index_) {
    if (TagIdxData_T* const entry = tag_index_->Find(name)) {
      result = {entry->RecNo, true, entry->ParentRecNo, entry};
      if (stored != nullptr) ReadRecord(result.rec_no, *stored);
      return result;
    }
  }
  if (free_head_ != 0 && Record(free_head_) != nullptr) {
    result.rec_no = free_head_;
    ClearCompanionRecord(result.rec_no);
    if (tag_file_ == nullptr) return TagAllocation{.rec_no = 0};
    TagRec_T record = *Record(result.rec_no);
    free_head_ = record.NextFree();
    record.SetI32(tl::kNextFree, 0);
    WriteRecord(result.rec_no, record);
    if (tag_file_ == nullptr) return TagAllocation{.rec_no = 0};
  } else {
    if (record_count_ >= tl::kMaxRecords) return result;
    free_head_ = 0;
    records_.Append();
    // Written even if it stays empty, so that Tagname.X holds every record its header counts.
    dirty_.push_back(true);
    result.rec_no = ++record_count_;
  }
  ++used_count_;
  if (tag_index_) {
    result.index_entry = &IndexTag(name, TagIdxData_T{result.rec_no, parent});
  }
  return result;
}

void CTagDict::FreeRecord(std::int32_t n) {
  const TagRec_T* record = Record(n);
  if (tag_file_ == nullptr || record == nullptr || record->IsFree()) return;
  if (tag_index_) {
    const TagIdxData_T* const entry = tag_index_->Find(record->Name());
    if (entry != nullptr && entry->RecNo == n) tag_index_->Erase(record->Name());
  }
  TagRec_T freed;
  freed.SetI32(tl::kNextFree, free_head_);
  WriteRecord(n, freed);
  ClearCompanionRecord(n);
  free_head_ = n;
  --used_count_;
}

void CTagDict::InitTagRecord(TagRec_T& dest, std::int32_t parent, const TagRec_T* stored) const {
  quellor::InitTagRecord(dest, parent, stored, default_alarm_group_);
}

void CTagDict::WriteNameIndex() {
  // Tagname.X first: the name index never lists records the dictionary failed to write.
  FlushChanges();
  if (tag_file_ == nullptr) return;
  // Written in pieces: the whole index of a full dictionary is 7.7 MB more at the build's peak.
  const auto write_names = [this](File& out) {
    FileAppender appender(out);
    for (std::size_t i = 0; i < records_.size() && appender.status().ok(); ++i) {
      appender.Append(std::span(records_[i].bytes()).first(tl::kNameWidth));
    }
    return appender.Finish();
  };
  const std::string path = options_.folder + tl::kNameIndexFileName;
  if (const Status replaced = ReplaceFileAtomically(path, write_names); !replaced.ok()) {
    ReportFileFailure("Failed to open %s", path, replaced);
    return;
  }
  Report(StringPrintf("        Created file %s", path.c_str()));
}

void CTagDict::UpdateHeader() {
  std::array<std::uint8_t, tl::kHeaderSize> bytes{};
  if (const Status read = ReadAtExactly(*tag_file_, 0, bytes); !read.ok()) {
    return Fail(tl::kTagFileName, read);
  }
  TagHdr_T header = TagHdr_T::Decode(bytes);
  // The save count wraps, as a 32-bit counter does.
  header.save_count = static_cast<std::int32_t>(static_cast<std::uint32_t>(header.save_count) + 1u);
  header.record_count = record_count_;
  header.free_head = free_head_;
  header.used_count = used_count_;
  if (const Status written = tag_file_->WriteAt(0, header.Encode()); !written.ok()) {
    return Fail(tl::kTagFileName, written);
  }
  Report(StringPrintf("        File %s created with %d entries (max = 60000)",
                      TagFilePath().c_str(), used_count_));
}

Status CTagDict::NotADictionary(std::string_view why) const {
  return Status::Corruption(tag_file_->path() + " " + std::string(why) + ": not a tag dictionary");
}

void CTagDict::Fail(std::string_view suffix, const Status& reason) {
  ReportFileFailure("Failed to open %s", options_.folder + std::string(suffix), reason);
  tag_file_.reset();
  companion_file_.reset();
  tag_index_.reset();
  records_.Reset(0);
  dirty_.clear();
  companion_clears_.clear();
  record_count_ = free_head_ = used_count_ = 0;
}

}  // namespace quellor
