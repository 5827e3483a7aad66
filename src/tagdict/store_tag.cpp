// StoreTag and AddValueMember: how one merged tag reaches the dictionary, its parent's member
// list, the access-name set and the counters.
#include "accessnames/acc_names.h"
#include "base/format.h"
#include "report/report.h"
#include "tagdict/compare_tag_records.h"
#include "tagdict/tag_dict.h"
#include "tagdict/tag_merge.h"

namespace quellor {

namespace tl = tag_layout;

void TagMerge::StoreTag(TagRec_T& parent, TagRec_T& tag, const TagRec_T* stored,
                        std::int32_t rec_no, int level, std::int32_t& counter,
                        std::int32_t source_id, std::string_view item_name) {
  const bool existed = stored != nullptr;
  bool changed = false;
  bool compatible = true;
  if (existed && !CompareTagRecords(dict_, tag, *stored, changed)) {
    Report(StringPrintf(
               "TagName.X : Tag %s cannot be modified, the old and new versions are incompatible",
               std::string(tag.Name()).c_str()),
           2, 1);
    compatible = false;
  }
  const bool super = tag.MemberCount() != 0;
  const bool io = !super && tl::IsIoType(tag.Type());
  TagDictCounters& counters = dict_.counters();
  if (compatible) {
    if (!existed) dict_.ClearCompanionRecord(rec_no);
    dict_.WriteRecord(rec_no, tag);
    if (level != 0 && counter < static_cast<std::int32_t>(tl::kMemberSlots)) {
      ++counter;
      parent.SetU32(tl::kMemberCount, static_cast<std::uint32_t>(counter));
      parent.SetI32(tl::kMembers + 4 * static_cast<std::size_t>(counter - 1), rec_no);
    }
    CAccNames* access_names = dict_.options().access_names;
    if (dict_.options().update_dde_points && access_names != nullptr && tl::IsIoType(tag.Type())) {
      if (existed) access_names->RemoveTagPoint(tag.Name());
      access_names->SetTagPoint(source_id, tag.Name(), rec_no, item_name);
    }
    const bool created = !existed;
    if (created || changed) {
      ++(created ? counters.CreatedTotal : counters.ModifiedTotal);
      if (super) ++(created ? counters.CreatedSuper : counters.ModifiedSuper);
      if (io) ++(created ? counters.CreatedIO : counters.ModifiedIO);
    }
  }
  ++counters.ProcessedTotal;
  if (super) ++counters.ProcessedSuper;
  if (io) ++counters.ProcessedIO;
  if (TagIndex* index = dict_.tag_index()) {
    if (const auto it = index->find(tag.Name()); it != index->end()) it->second.Processed = 1;
  }
}

void TagMerge::AddValueMember(TagRec_T& parent, std::int32_t parent_no, std::int32_t& counter,
                              std::int32_t source_id, std::string_view parent_item) {
  const std::string name = std::string(parent.Name()) + dict_.options().separator + "v";
  if (name.size() > tl::kMaxTagName) {
    Report(StringPrintf("TagName.X : Tag %s exceeds character limit", name.c_str()), 2, 1);
    return;
  }
  if (counter >= static_cast<std::int32_t>(tl::kMaxMembers)) {
    // A full parent gets no new value member; one that the stored parent already lists (in the
    // 65th slot) keeps its place and is merged as usual.
    const TagIndex* index = dict_.tag_index();
    const auto it = index != nullptr ? index->find(name) : TagIndex::const_iterator{};
    if (index == nullptr || it == index->end() || it->second.ParentRecNo != parent_no) return;
  }
  TagRec_T stored;
  const TagAllocation allocation = dict_.FindOrAllocateRecord(name, parent_no, &stored);
  if (allocation.rec_no <= 0) {
    if (allocation.rec_no < 0) ReportDictionaryFull(name);
    return;
  }
  TagRec_T tag;
  dict_.InitTagRecord(tag, parent_no, allocation.existed ? &stored : nullptr);
  const std::string item_name = std::string(parent_item) + ".v";
  tag.SetText(tl::kName, tl::kNameWidth, name);
  tag.SetText(tl::kDescription, tl::kDescriptionWidth,
              parent.Text(tl::kDescription, tl::kDescriptionWidth));
  tag.SetU16(tl::kType, parent.Type());
  if (allocation.existed && allocation.stored_parent != parent_no) {
    Report(StringPrintf("TagName.X : Existing tag %s has inconsistent parent", name.c_str()), 2, 1);
    return;
  }
  StoreTag(parent, tag, allocation.existed ? &stored : nullptr, allocation.rec_no, 1, counter,
           source_id, item_name);
}

}  // namespace quellor
