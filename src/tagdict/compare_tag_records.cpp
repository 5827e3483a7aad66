#include "tagdict/compare_tag_records.h"

#include <string>

#include "base/format.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"

namespace quellor {

namespace tl = tag_layout;

namespace {

// The widths compared: the description's 160 characters, an item's 252, the units' 32.
constexpr std::size_t kItemCompared = tl::kItemWidth;

bool Lists(const TagRec_T& record, std::int32_t member) {
  const std::uint32_t count = record.MemberCount();
  for (std::uint32_t i = 0; i < count; ++i) {
    if (record.Member(i) == member) return true;
  }
  return false;
}

// One change message about `name` at level 0.
void ReportChange(const char* format, std::string_view name, int flag = 0) {
  Report(StringPrintf(format, std::string(name).c_str()), 0, flag);
}

std::string NameOf(const CTagDict& dict, std::int32_t n) {
  const TagRec_T* record = dict.Record(n);
  return record != nullptr ? std::string(record->Name()) : std::string();
}

bool TextDiffers(const TagRec_T& W, const TagRec_T& S, std::size_t offset, std::size_t width) {
  return W.Text(offset, width) != S.Text(offset, width);
}

// Float fields differ when they are unequal or cannot be compared (a NaN).
bool FloatDiffers(const TagRec_T& W, const TagRec_T& S, std::size_t offset) {
  return !(W.F32(offset) == S.F32(offset));
}

bool PairDiffers(const TagRec_T& W, const TagRec_T& S, std::size_t a, std::size_t b,
                 bool as_float) {
  if (as_float) return FloatDiffers(W, S, a) || FloatDiffers(W, S, b);
  return W.I32(a) != S.I32(a) || W.I32(b) != S.I32(b);
}

// The checks of one I/O type, in the order their messages come.
void CompareIoFields(const TagRec_T& W, const TagRec_T& S, bool& changed) {
  const std::string_view name = W.Name();
  const auto check = [&](bool differs, const char* format) {
    if (!differs) return;
    ReportChange(format, name);
    changed = true;
  };
  const auto access_and_item = [&](std::size_t access, std::size_t item) {
    check(W.I32(access) != S.I32(access), "        TagName.X : Tag %s access name changed");
    check(TextDiffers(W, S, item, kItemCompared),
          "        TagName.X : Tag %s remote reference changed");
  };
  const std::uint16_t type = W.Type();
  const bool real = type == tl::kTypeReal;
  const auto raw = [&] {
    check(PairDiffers(W, S, tl::kRawMin, tl::kRawMax, real),
          "        TagName.X : Tag %s modified raw range data");
  };
  const auto engineering = [&] {
    check(PairDiffers(W, S, tl::kEngMin, tl::kEngMax, real),
          "        TagName.X : Tag %s modified engineering range data");
  };
  const auto units = [&] {
    check(TextDiffers(W, S, tl::kUnits, tl::kUnitsWidth),
          "        TagName.X : Tag %s modified units");
  };
  if (!tl::IsIoType(type)) return;
  access_and_item(tl::AccessNameOffset(type), tl::ItemOffset(type));
  if (type == tl::kTypeInteger) {
    raw();
    engineering();
    units();
  } else if (real) {
    raw();
    units();
    engineering();
  }
}

}  // namespace

int CompareTagRecords(const CTagDict& dict, TagRec_T& W, const TagRec_T& S, bool& changed) {
  const std::string name(W.Name());
  if (W.Type() != S.Type()) {
    ReportChange("        TagName.X : Tag %s has changed type", name, 1);
    return 0;
  }
  const std::uint32_t stored_count = S.MemberCount();
  for (std::uint32_t i = 0; i < stored_count; ++i) {
    const std::int32_t m = S.Member(i);
    if (m < 1 || m > dict.record_count() || Lists(W, m)) continue;
    const std::uint32_t count = W.MemberCount();
    if (count >= tl::kMaxMembers) {
      ReportChange("        TagName.X : Failed to merge old children for Tag %s", name, 1);
      return 0;
    }
    W.SetU32(tl::kMemberCount, count + 1);
    W.SetI32(tl::kMembers + 4 * count, m);
    ReportChange("        TagName.X : Tag %s removed from project database", NameOf(dict, m));
    changed = true;
  }
  const std::uint32_t count = W.MemberCount();
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::int32_t m = W.Member(i);
    if (Lists(S, m)) continue;
    ReportChange("        TagName.X : Tag %s added to project database", NameOf(dict, m));
    changed = true;
  }
  const auto check = [&](bool differs, const char* format) {
    if (!differs) return;
    ReportChange(format, name);
    changed = true;
  };
  check(TextDiffers(W, S, tl::kDescription, tl::kDescriptionWidth),
        "        TagName.X : Tag %s description changed");
  check((W.U32(tl::kFlags712) & 1u) != (S.U32(tl::kFlags712) & 1u),
        "        TagName.X : Tag %s has had the logged flag changed");
  CompareIoFields(W, S, changed);
  return 1;
}

}  // namespace quellor
