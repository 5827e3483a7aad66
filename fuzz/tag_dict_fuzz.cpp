// A dictionary folder: any bytes as Tagname.X, opened, loaded and repaired by the build's tag
// dictionary with no project attached, its name index written, closed and loaded again; then
// given one new tag as a build adds it, and loaded once more. The repair must be complete the
// first time: the second load changes no record, no companion record and no header field but
// the save count (a member left below a freed orphan would be freed by it). The new tag is
// found by the last load at the record it was given. (That load may still give it the
// "$System" alarm group, since new tags are made without one.) No project is merged here, so
// the target runs thousands of inputs a second; tag_merge_fuzz.cpp merges one.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "dictionary_folder.h"
#include "fuzz_check.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "tagdict/tag_layout.h"
#include "testing/unsynced_file_system.h"

namespace {

namespace tl = quellor::tag_layout;

// A dictionary's life in one build without a project: open (load and repair), the name
// index, close.
void Build(const quellor::fuzz::DictionaryFolder& folder) {
  quellor::CTagDict dict(folder.Options());
  if (dict.is_open()) dict.WriteNameIndex();
}

constexpr std::string_view kNewTag = "FuzzNewTag";

// One tag added as a build adds it: the record found or allocated for its name, initialised
// and written. Its record number, or 0 when the dictionary is closed or full.
std::int32_t AddTag(const quellor::fuzz::DictionaryFolder& folder) {
  quellor::CTagDict dict(folder.Options());
  const quellor::TagAllocation allocation = dict.FindOrAllocateRecord(kNewTag, 0);
  if (allocation.rec_no <= 0) return 0;
  quellor::TagRec_T record;
  dict.InitTagRecord(record, 0, nullptr);
  record.SetText(tl::kName, tl::kNameWidth, kNewTag);
  dict.WriteRecord(allocation.rec_no, record);
  return allocation.rec_no;
}

// The next load: the new tag is where it was put.
void CheckTagFound(const quellor::fuzz::DictionaryFolder& folder, std::int32_t record_number) {
  quellor::CTagDict dict(folder.Options());
  if (record_number == 0) return;
  const quellor::TagAllocation found = dict.FindOrAllocateRecord(kNewTag, 0);
  quellor::fuzz::Check(found.existed && found.rec_no == record_number,
                       "a tag added is found again at its record");
}

// The file without its save count, which every close moves on.
std::string WithoutSaveCount(std::string tag_file) {
  if (tag_file.size() >= tl::kHdrSaveCount + 4) tag_file.replace(tl::kHdrSaveCount, 4, 4, '\0');
  return tag_file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellor;
  const std::span<const std::uint8_t> bytes(data, size);
  if (fuzz::IsOldFormat(bytes)) return 0;
  testing::SkipSyncsFromNowOn();
  const ScopedReportCapture quiet;
  const fuzz::DictionaryFolder folder(bytes);

  Build(folder);
  const std::string repaired = WithoutSaveCount(folder.TagFile());
  const std::string companion = folder.CompanionFile();
  Build(folder);
  fuzz::Check(WithoutSaveCount(folder.TagFile()) == repaired,
              "a repaired Tagname.X loads again unchanged");
  fuzz::Check(folder.CompanionFile() == companion, "a repaired Tag_Ext.X loads again unchanged");

  CheckTagFound(folder, AddTag(folder));
  return 0;
}
