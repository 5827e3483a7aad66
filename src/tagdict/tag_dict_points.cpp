// The DDE points of the access-name set against the dictionary they name records of. DDE.CFG
// and Tagname.X are separate files: a dictionary replaced or emptied, or records freed by the
// load, leave points that name records another tag has, or will have. The merge only updates
// the points of the tags it writes, so the rest are brought in line once the dictionary is open.
#include "accessnames/acc_names.h"
#include "base/ascii.h"
#include "tagdict/tag_dict.h"

namespace quellor {

void CTagDict::ReconcileDDEPoints() {
  if (!is_open() || !options_.update_dde_points || options_.access_names == nullptr) return;
  options_.access_names->ReconcileTagPoints([this](std::string_view tag_name, int tag_index) {
    return RecordOfPoint(tag_name, tag_index);
  });
}

std::int32_t CTagDict::RecordOfPoint(std::string_view tag_name, std::int32_t tag_index) const {
  const TagRec_T* record = Record(tag_index);
  if (record != nullptr && !record->IsFree() && EqualsIgnoreCase(record->Name(), tag_name)) {
    return tag_index;
  }
  if (tag_index_) {
    if (const TagIdxData_T* const entry = tag_index_->Find(tag_name)) return entry->RecNo;
  }
  return 0;
}

}  // namespace quellor
