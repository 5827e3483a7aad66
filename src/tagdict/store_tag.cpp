// StoreTag and AddValueMember: how one merged tag reaches the dictionary, its parent's member
// list, the access-name set and the counters; and how a tag that cannot be modified stays as it
// is, with everything it lists.
#include "accessnames/acc_names.h"
#include "base/format.h"
#include "report/report.h"
#include "tagdict/compare_tag_records.h"
#include "tagdict/tag_dict.h"
#include "tagdict/tag_merge.h"

namespace quellor {

namespace tl = tag_layout;

namespace {

// Adds `delta` to a total and, by what `tag` is, to its Super (a tag with members) or IO part.
void Count(const TagRec_T& tag, std::int32_t delta, std::int32_t& total, std::int32_t& super,
           std::int32_t& io) {
  total += delta;
  if (tag.MemberCount() != 0) {
    super += delta;
  } else if (tl::IsIoType(tag.Type())) {
    io += delta;
  }
}

}  // namespace

void TagMerge::StoreTag(TagRec_T& parent, TagRec_T& tag, const TagAllocation& allocation,
                        const TagRec_T& stored_record, int level, std::int32_t& counter,
                        std::int32_t source_id, std::string_view item_name) {
  const bool existed = allocation.existed;
  const TagRec_T* stored = existed ? &stored_record : nullptr;
  const std::int32_t rec_no = allocation.rec_no;
  bool changed = false;
  TagDictCounters& counters = dict_.counters();
  if (!existed || CompareTagRecords(dict_, tag, *stored, changed)) {
    if (!existed) {
      dict_.ClearCompanionRecord(rec_no);
      made_.Insert(static_cast<std::size_t>(rec_no));
    }
    dict_.WriteRecord(rec_no, tag);
    if (level != 0) LinkMember(parent, rec_no, counter);
    RecordPoint(tag, existed, rec_no, source_id, item_name);
    if (!existed) {
      Count(tag, 1, counters.CreatedTotal, counters.CreatedSuper, counters.CreatedIO);
    } else if (changed) {
      Count(tag, 1, counters.ModifiedTotal, counters.ModifiedSuper, counters.ModifiedIO);
    }
  } else {
    Report(StringPrintf(
               "TagName.X : Tag %s cannot be modified, the old and new versions are incompatible",
               std::string(tag.Name()).c_str()),
           2, 1);
    // The stored record stays as it was, and so do its place in its parent and its members:
    // the members this build made for it would be listed by no record.
    DiscardMadeMembers(tag, *stored);
    if (level != 0) LinkMember(parent, rec_no, counter);
  }
  Count(tag, 1, counters.ProcessedTotal, counters.ProcessedSuper, counters.ProcessedIO);
  if (allocation.index_entry != nullptr) allocation.index_entry->Processed = 1;
}

void TagMerge::LinkMember(TagRec_T& parent, std::int32_t rec_no, std::int32_t& counter) {
  if (counter >= static_cast<std::int32_t>(tl::kMemberSlots)) return;
  ++counter;
  parent.SetU32(tl::kMemberCount, static_cast<std::uint32_t>(counter));
  parent.SetI32(tl::kMembers + 4 * static_cast<std::size_t>(counter - 1), rec_no);
}

void TagMerge::RecordPoint(const TagRec_T& tag, bool existed, std::int32_t rec_no,
                           std::int32_t source_id, std::string_view item_name) {
  CAccNames* access_names = dict_.options().access_names;
  if (!dict_.options().update_dde_points || access_names == nullptr || !tl::IsIoType(tag.Type())) {
    return;
  }
  if (existed) {
    access_names->ReplaceTagPoint(source_id, tag.Name(), rec_no, item_name);
  } else {
    access_names->SetTagPoint(source_id, tag.Name(), rec_no, item_name);
  }
}

void TagMerge::DiscardMadeMembers(const TagRec_T& built, const TagRec_T& stored) {
  // Last made first, so that the free chain ends as it began.
  for (std::uint32_t i = built.MemberCount(); i-- > 0;) {
    const std::int32_t member = built.Member(i);
    if (!stored.ListsMember(member)) DiscardMadeTree(member);
  }
}

void TagMerge::DiscardMadeTree(std::int32_t rec_no) {
  const TagRec_T* made =
      rec_no > 0 && made_.Erase(static_cast<std::size_t>(rec_no)) ? dict_.Record(rec_no) : nullptr;
  if (made == nullptr) return;  // only what this build made is undone
  const TagRec_T tag = *made;
  for (std::uint32_t i = tag.MemberCount(); i-- > 0;) DiscardMadeTree(tag.Member(i));
  CAccNames* access_names = dict_.options().access_names;
  if (dict_.options().update_dde_points && access_names != nullptr && tl::IsIoType(tag.Type())) {
    access_names->RemoveTagPoint(tag.Name());
  }
  TagDictCounters& counters = dict_.counters();
  Count(tag, -1, counters.CreatedTotal, counters.CreatedSuper, counters.CreatedIO);
  dict_.FreeRecord(rec_no);
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
    const TagIdxData_T* const entry = index != nullptr ? index->Find(name) : nullptr;
    if (entry == nullptr || entry->ParentRecNo != parent_no) return;
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
  StoreTag(parent, tag, allocation, stored, 1, counter, source_id, item_name);
}

}  // namespace quellor
