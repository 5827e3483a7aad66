// ReportTagStatistics: what the closed dictionary holds, what this build did to it, and the
// application's tags this build no longer delivered.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/format.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"

namespace quellor {

namespace tl = tag_layout;

namespace {

struct TagKindCounts {
  std::int32_t total = 0, super = 0, io = 0, other = 0;

  void Count(const TagRec_T& record) {
    ++total;
    if (record.U32(tl::kMemberCount) != 0) {
      ++super;
    } else if (tl::IsIoType(record.Type())) {
      ++io;
    } else {
      ++other;
    }
  }
};

}  // namespace

void CTagDict::ReportTagStatistics() const {
  std::int32_t total = 0;
  std::int32_t intouch_system = 0;
  TagKindCounts corvane_system;
  TagKindCounts project;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const TagRec_T& record = records_[i];
    if (record.IsFree()) continue;
    ++total;
    const std::string_view name = record.Name();
    if (name.starts_with("$")) {
      ++intouch_system;
    } else if (name.starts_with("ZZ")) {
      corvane_system.Count(record);
    } else {
      project.Count(record);
    }
  }
  Report("                Tagname.X file analysis");
  Report(StringPrintf("                        Total tags = %d", total));
  Report(StringPrintf("                        InTouch system tags = %d", intouch_system));
  Report(StringPrintf(
      "                        Corvane system tags - Total = %d,  Super = %d,  IO = %d,  Other = "
      "%d",
      corvane_system.total, corvane_system.super, corvane_system.io, corvane_system.other));
  Report(StringPrintf(
      "                        Project tags - Total = %d,  Super = %d,  IO = %d,  Other = %d",
      project.total, project.super, project.io, project.other));
  Report("                Corvane DB processing statistics");
  const TagDictCounters& c = counters_;
  Report(StringPrintf(
      "                        Corvane project DB tags processed - Total = %d, Super = %d, IO = %d",
      c.ProcessedTotal, c.ProcessedSuper, c.ProcessedIO));
  Report(StringPrintf(
      "                        Corvane project DB tags created Total  = %d, Super = %d, IO = %d",
      c.CreatedTotal, c.CreatedSuper, c.CreatedIO));
  Report(StringPrintf(
      "                        Corvane project DB tags modified - Total = %d, Super = %d, IO = %d",
      c.ModifiedTotal, c.ModifiedSuper, c.ModifiedIO));

  // The application's tags not delivered this build, in ascending record number.
  std::vector<std::pair<std::int32_t, std::string_view>> not_processed;
  tag_index_->ForEach([&not_processed](std::string_view name, const TagIdxData_T& entry) {
    if (entry.PelnetAccess == 1 && entry.Processed == 0) {
      not_processed.emplace_back(entry.RecNo, name);
    }
  });
  if (not_processed.empty()) return;
  std::sort(not_processed.begin(), not_processed.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  Report(
      "                The following tags have access names to a PelnetData IO server, but were "
      "not processed this build.");
  Report(
      "                This may imply they been deselected for InTouch trending within the "
      "Corvane project DB and");
  Report("                should be removed from the InTouch tag dictionary.");
  for (const auto& [rec_no, name] : not_processed) {
    Report(StringPrintf("                        %s", std::string(name).c_str()));
  }
}

}  // namespace quellor
