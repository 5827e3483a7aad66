#include "tagdict/tag_merge.h"

#include <algorithm>

#include "accessnames/dde_cfg_values.h"
#include "base/format.h"
#include "projectdb/project_query.h"
#include "report/report.h"
#include "run/run_state.h"
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
  if (dict_.options().Separator != ".") std::replace(item.begin(), item.end(), '\\', '.');
  return item;
}

std::string TagMerge::TagNameAt(int level, const ProjTag_T& row, const std::string& key,
                                int& member_level) const {
  const std::string& sep = dict_.options().Separator;
  const auto member = [&](const std::string& part, int m) {
    member_level = m;
    return key + sep + part;
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
    const ProjTag_T& R = *row_;  // stays valid when the next row becomes current
    // The group test first: a row of the next tree must not set this tree's family.
    if (GroupKey(R, level) != key) return;
    if (level == 0 || family_ == 0) {
      family_ = R.kind >= kKindBlkTag && R.kind <= kKindFixFldTag ? R.kind : 0;
    }
    // The members a row can add under one parent; the value member is checked on its own.
    if (level != 0 && counter >= static_cast<std::int32_t>(tl::kMaxMembers)) {
      FetchNextRow();
      continue;
    }
    int M = 0;
    std::string N = TagNameAt(level, R, key, M);
    const bool prefix = has_access_names && !N.empty() && !IsAsciiLetter(N[0]);
    bool refused = false;
    if (N.size() + (prefix ? 1 : 0) > tl::kMaxTagName) {
      Report(StringPrintf("TagName.X : Tag %s exceeds character limit", N.c_str()), 2, 1);
      refused = true;
    } else if (!N.empty() && !DDECfgCanCarry(DDECfgField::kTagName, N)) {
      // Neither DDE.CFG nor the name index could carry it back.
      Report(StringPrintf("TagName.X : Tag %s has an invalid character", N.c_str()), 2, 1);
      refused = true;
    }
    if (N == last_name || N.empty() || refused) {
      FetchNextRow();
      continue;
    }
    last_name = N;
    if (M == kLevelField && R.Logged == 0) {  // field members only for logged fields
      FetchNextRow();
      continue;
    }
    const bool discrete_as_integer = dict_.options().DiscreteAsInteger;
    const std::uint16_t T = TagTypeOf(R, M, discrete_as_integer);
    if (level == 1 && parent.Type() == 0 && (R.kind == kKindFldTag || R.kind == kKindFixFldTag)) {
      parent.SetU16(tl::kType, T);
    }
    std::int32_t& access_id = CurrentAccessNameID();
    if (M == kLevelTopLevel && has_access_names) {
      access_id = tag_servers_->ForServer(project_.ServerOf(N));
    }
    if (has_access_names) {
      if (access_id == 0) {  // the tree is left out; a stored copy stays as it is
        FetchNextRow();
        continue;
      }
      item_text = ItemName(N);
    }
    const std::string plain_name = N;
    if (prefix) N = "Y" + N;

    TagRec_T stored;
    const TagAllocation allocation = dict_.FindOrAllocateRecord(N, parent_no, &stored);
    if (allocation.RecNo <= 0) {
      if (allocation.RecNo < 0) {
        Report("TagName.X : Attempt to create more than 60000 entries in the Tagname.X", 2, 1);
      }
      stop_ = true;
      continue;
    }
    const std::int32_t rec_no = allocation.RecNo;
    TagRec_T W;
    dict_.InitTagRecord(W, parent_no, allocation.existed ? &stored : nullptr);
    W.SetText(tl::kName, tl::kNameWidth, N);
    W.SetU16(tl::kType, T);
    if (allocation.existed && allocation.stored_parent != parent_no) {
      Report(StringPrintf("TagName.X : Existing tag %s has inconsistent parent", N.c_str()), 2, 1);
      continue;  // the next round meets the last name again and skips the row
    }

    std::int32_t members = 0;
    if (M == kLevelFixField) {
      FetchNextRow();
    } else {
      AddProjectTags(M, W, rec_no, members);
    }
    W.SetText(tl::kDescription, tl::kDescriptionWidth, R.FullDesc);
    if (W.MemberCount() != 0) {
      W.SetU32(tl::kMemberMark, tl::kMemberMarkValue);
      if (M == kLevelField || M == kLevelSubfield ||
          (M == kLevelTopLevel && (family_ == kKindFldTag || family_ == kKindFixFldTag))) {
        AddValueMember(W, rec_no, members, access_id, ItemName(plain_name));
      }
    }
    if (M == kLevelTopLevel && family_ == kKindBlkTag) {
      W.SetU16(tl::kType, tl::kTypeGroup);
      W.SetI32(tl::kWord292, 0);
    }
    if (has_access_names && access_id != 0) {
      SetIoFields(W, R, !allocation.existed, item_text);
    }
    StoreTag(parent, W, allocation.existed ? &stored : nullptr, rec_no, level, counter, access_id,
             item_text);
  }
}

void LoadProjectTags(CTagDict& dict, ProjectTags& project) { dict.BuildFromProject(project); }

void LoadProjectTags(CTagDict& dict) {
  ProjectTags project;
  LoadProjectTags(dict, project);
}

}  // namespace quellor
