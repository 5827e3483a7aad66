// The tags a full dictionary drops. The limit's report message names none of them, so each one
// is named on standard error.
#include <string>

#include "base/format.h"
#include "report/failure_reason.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "tagdict/tag_merge.h"

namespace quellor {

void TagMerge::ReportDictionaryFull(std::string_view name) const {
  Report("TagName.X : Attempt to create more than 60000 entries in the Tagname.X", 2, 1);
  ExplainOnStandardError(StringPrintf("%s holds 60000 records: tag %s was not created",
                                      dict_.TagFilePath().c_str(), std::string(name).c_str()));
}

void TagMerge::NameTagsNotReached() const {
  // Rows come grouped by top-level tag, so one name per group.
  std::string last = row_->TagName;
  for (std::size_t i = next_row_; i < rows_.size(); ++i) {
    if (rows_[i].TagName == last) continue;
    last = rows_[i].TagName;
    ExplainOnStandardError(StringPrintf("%s holds 60000 records: tag %s was not merged",
                                        dict_.TagFilePath().c_str(), last.c_str()));
  }
}

}  // namespace quellor
