#include "tagdict/tag_merge.h"

#include <algorithm>

#include "accessnames/dde_cfg_values.h"
#include "base/format.h"
#include "projectdb/project_query.h"
#include "report/report.h"
#include "tagdict/data_type.h"
#include "tagdict/project_tags.h"
#include "tagdict/tag_dict.h"
#include "tagdict/tag_server.h"

namespace quellor {

namespace tl = tag_layout;

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string GroupKey(const ProjTag_T& row, int level) {
  switch (level) {
    case 0:
      return {};
    case 1:
      return row.TagName;
    case 2:
      return row.TagName + "." + row.FieldName;
    default:
      return row.TagName + "." + row.FieldName + "." + row.SubfieldName;
  }
}

bool InGroup(const ProjTag_T& row, int level, std::string_view key) {
  // Matches the parts GroupKey would join, so that a name holding a period compares as the
  // joined key does.
  const auto take = [&key](std::string_view part) {
    if (!key.starts_with(part)) return false;
    key.remove_prefix(part.size());
    return true;
  };
  if (level == 0) return key.empty();
  if (!take(row.TagName)) return false;
  if (level >= 2 && !(take(".") && take(row.FieldName))) return false;
  if (level >= 3 && !(take(".") && take(row.SubfieldName))) return false;
  return key.empty();
}

void CTagDict::BuildFromProject(ProjectTags& project) {
  if (!is_open()) return;
  TagMerge(*this, project).Run();
}

void CTagDict::BuildFromProject(ProjectQuery& query) {
  if (!is_open()) return;
  ProjectTags project(query);
  BuildFromProject(project);
}

void TagMerge::Run() {
  rows_ = project_.Rows();
  next_row_ = 0;
  stop_ = false;
  FetchNextRow();
  if (stop_) return;
  TagRec_T dummy;  // the level-0 parent: a fresh record, never written
  dict_.InitTagRecord(dummy, 0, nullptr);
  std::int32_t counter = 0;
  family_ = 0;
  if (dict_.options().access_names != nullptr) {
    tag_servers_.emplace(*dict_.options().access_names, dict_.options().app_access_names);
  }
  AddProjectTags(0, dummy, 0, counter);
}

void TagMerge::FetchNextRow() {
  if (next_row_ >= rows_.size()) {
    stop_ = true;
    return;
  }
  row_ = &rows_[next_row_++];
}

std::string TagMerge::ItemName(std::string_view name) const {
  std::string item(name);
  if (dict_.options().separator != ".") std::replace(item.begin(), item.end(), '\\', '.');
  return item;
}

std::string TagMerge::TagNameAt(int level, const ProjTag_T& row, const std::string& key,
                                int& member_level) const {
  const std::string& separator = dict_.options().separator;
  const auto member = [&](const std::string& part, int part_level) {
    member_level = part_level;
    return key + separator + part;
  };
  member_level = 0;
  if (level == 0) {
    member_level = kLevelTopLevel;
    return row.TagName;
  }
  if (level == 1 && family_ == kKindBlkTag) {
    if (!row.FieldName.empty()) return member(row.FieldName, kLevelField);
    if (!row.FixFldName.empty()) return member(row.FixFldName, kLevelFixField);
    return {};
  }
  if (level == 1 && ((family_ == kKindFldTag && row.FixFldName.empty()) ||
                     (family_ == kKindFixFldTag && row.kind == kKindFixFldTag))) {
    return {};
  }
  if (level <= 2) {
    if (!row.SubfieldName.empty()) return member(row.SubfieldName, kLevelSubfield);
    if (!row.FixFldName.empty()) return member(row.FixFldName, kLevelFixField);
    return {};
  }
  if (!row.FixFldName.empty()) return member(row.FixFldName, kLevelFixField);
  return {};
}

void TagMerge::AddProjectTags(int level, TagRec_T& parent, std::int32_t parent_no,
                              std::int32_t& counter) {
  const bool has_access_names = dict_.options().access_names != nullptr;
  const std::string key = GroupKey(*row_, level);
  std::string last_name;
  std::string item_text;
  while (!stop_) {
    const ProjTag_T& row = *row_;  // stays valid when the next row becomes current
    // The group test first: a row of the next tree must not set this tree's family.
    if (!InGroup(row, level, key)) return;
    if (level == 0 || family_ == 0) {
      family_ = row.kind >= kKindBlkTag && row.kind <= kKindFixFldTag ? row.kind : 0;
    }
    // The members a row can add under one parent; the value member is checked on its own.
    if (level != 0 && counter >= static_cast<std::int32_t>(tl::kMaxMembers)) {
      FetchNextRow();
      continue;
    }
    int member_level = 0;
    std::string name = TagNameAt(level, row, key, member_level);
    const bool prefix = has_access_names && !name.empty() && !IsAsciiLetter(name[0]);
    bool refused = false;
    if (name.size() + (prefix ? 1 : 0) > tl::kMaxTagName) {
      Report(StringPrintf("TagName.X : Tag %s exceeds character limit", name.c_str()), 2, 1);
      refused = true;
    } else if (!name.empty() && !DDECfgCanCarry(DDECfgField::kTagName, name)) {
      // Neither DDE.CFG nor the name index could carry it back.
      Report(StringPrintf("TagName.X : Tag %s has an invalid character", name.c_str()), 2, 1);
      refused = true;
    }
    if (name == last_name || name.empty() || refused) {
      FetchNextRow();
      continue;
    }
    last_name = name;
    if (member_level == kLevelField && row.Logged == 0) {  // field members only for logged fields
      FetchNextRow();
      continue;
    }
    const std::uint16_t type = TagTypeOf(row, member_level, dict_.options().discrete_as_integer);
    if (level == 1 && parent.Type() == 0 &&
        (row.kind == kKindFldTag || row.kind == kKindFixFldTag)) {
      parent.SetU16(tl::kType, type);
    }
    if (member_level == kLevelTopLevel && has_access_names) {
      project_.SetCurrentAccessNameID(tag_servers_->ForServer(project_.ServerOf(name)));
    }
    const std::int32_t access_id = project_.CurrentAccessNameID();
    if (has_access_names) {
      if (access_id == 0) {  // the tree is left out; a stored copy stays as it is
        FetchNextRow();
        continue;
      }
      item_text = ItemName(name);
    }
    const std::string plain_name = name;
    if (prefix) name = "Y" + name;

    TagRec_T stored;
    const TagAllocation allocation = dict_.FindOrAllocateRecord(name, parent_no, &stored);
    if (allocation.rec_no <= 0) {
      if (allocation.rec_no < 0) {
        ReportDictionaryFull(name);
        NameTagsNotReached();
      }
      stop_ = true;
      continue;
    }
    const std::int32_t rec_no = allocation.rec_no;
    TagRec_T tag;
    dict_.InitTagRecord(tag, parent_no, allocation.existed ? &stored : nullptr);
    tag.SetText(tl::kName, tl::kNameWidth, name);
    tag.SetU16(tl::kType, type);
    if (allocation.existed && allocation.stored_parent != parent_no) {
      Report(StringPrintf("TagName.X : Existing tag %s has inconsistent parent", name.c_str()), 2,
             1);
      continue;  // the next round meets the last name again and skips the row
    }

    std::int32_t members = 0;
    if (member_level == kLevelFixField) {
      FetchNextRow();
    } else {
      AddProjectTags(member_level, tag, rec_no, members);
    }
    tag.SetText(tl::kDescription, tl::kDescriptionWidth, row.FullDesc);
    if (tag.MemberCount() != 0) {
      tag.SetU32(tl::kMemberMark, tl::kMemberMarkValue);
      if (member_level == kLevelField || member_level == kLevelSubfield ||
          (member_level == kLevelTopLevel &&
           (family_ == kKindFldTag || family_ == kKindFixFldTag))) {
        AddValueMember(tag, rec_no, members, access_id, ItemName(plain_name));
      }
    }
    if (member_level == kLevelTopLevel && family_ == kKindBlkTag) {
      tag.SetU16(tl::kType, tl::kTypeGroup);
      tag.SetI32(tl::kWord292, 0);
    }
    if (has_access_names && access_id != 0) {
      SetIoFields(tag, row, !allocation.existed, item_text);
    }
    StoreTag(parent, tag, allocation, stored, level, counter, access_id, item_text);
  }
}

void LoadProjectTags(CTagDict& dict, ProjectTags& project) { dict.BuildFromProject(project); }

void LoadProjectTags(CTagDict& dict) {
  ProjectTags project;
  LoadProjectTags(dict, project);
}

}  // namespace quellor
