#include "tagdict/compare_tag_records.h"

#include <cmath>
#include <cstring>
#include <string>

#include "base/format.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"

namespace quellor {

namespace tl = tag_layout;

namespace {

// The widths compared: the description's 160 characters, an item's 252, the units' 32.
constexpr std::size_t kItemCompared = tl::kItemWidth;

// One change message about `name` at level 0.
void ReportChange(const char* format, std::string_view name, int flag = 0) {
  Report(StringPrintf(format, std::string(name).c_str()), 0, flag);
}

std::string NameOf(const CTagDict& dict, std::int32_t n) {
  const TagRec_T* record = dict.Record(n);
  return record != nullptr ? std::string(record->Name()) : std::string();
}

// The texts, not the bytes behind their terminators; but a field whose bytes are all equal,
// as an unchanged tag's fields are, holds the same text without reading it.
bool TextDiffers(const TagRec_T& built, const TagRec_T& stored, std::size_t offset,
                 std::size_t width) {
  if (std::memcmp(built.bytes().data() + offset, stored.bytes().data() + offset, width) == 0) {
    return false;
  }
  return built.Text(offset, width) != stored.Text(offset, width);
}

// Float fields differ when they are unequal or cannot be compared (a NaN).
bool FloatDiffers(const TagRec_T& built, const TagRec_T& stored, std::size_t offset) {
  return !(built.F32(offset) == stored.F32(offset));
}

bool PairDiffers(const TagRec_T& built, const TagRec_T& stored, std::size_t a, std::size_t b,
                 bool as_float) {
  if (as_float) return FloatDiffers(built, stored, a) || FloatDiffers(built, stored, b);
  return built.I32(a) != stored.I32(a) || built.I32(b) != stored.I32(b);
}

// The checks of one I/O type, in the order their messages come.
void CompareIoFields(const TagRec_T& built, const TagRec_T& stored, bool& changed) {
  const std::string_view name = built.Name();
  const auto check = [&](bool differs, const char* format) {
    if (!differs) return;
    ReportChange(format, name);
    changed = true;
  };
  const auto access_and_item = [&](std::size_t access, std::size_t item) {
    check(built.I32(access) != stored.I32(access),
          "        TagName.X : Tag %s access name changed");
    check(TextDiffers(built, stored, item, kItemCompared),
          "        TagName.X : Tag %s remote reference changed");
  };
  const std::uint16_t type = built.Type();
  const bool real = type == tl::kTypeReal;
  const auto raw = [&] {
    check(PairDiffers(built, stored, tl::kRawMin, tl::kRawMax, real),
          "        TagName.X : Tag %s modified raw range data");
  };
  const auto engineering = [&] {
    check(PairDiffers(built, stored, tl::kEngMin, tl::kEngMax, real),
          "        TagName.X : Tag %s modified engineering range data");
  };
  const auto units = [&] {
    check(TextDiffers(built, stored, tl::kUnits, tl::kUnitsWidth),
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

// Whether the records' bytes are equal, so that they hold the same type, members and fields
// and nothing is reported or merged; except that a real tag's range holding a NaN compares
// unequal to itself and is reported as changed.
bool EqualAndComparable(const TagRec_T& built, const TagRec_T& stored) {
  if (built.bytes() != stored.bytes()) return false;
  if (built.Type() != tl::kTypeReal) return true;
  for (const std::size_t offset : {tl::kRawMin, tl::kRawMax, tl::kEngMin, tl::kEngMax}) {
    if (std::isnan(built.F32(offset))) return false;
  }
  return true;
}

}  // namespace

bool CompareTagRecords(const CTagDict& dict, TagRec_T& built, const TagRec_T& stored,
                       bool& changed) {
  // Most records of a rebuild are so, and the member lists' tests below go pair by pair.
  if (EqualAndComparable(built, stored)) return true;
  const std::string_view name = built.Name();  // the members appended below leave it as it is
  if (built.Type() != stored.Type()) {
    ReportChange("        TagName.X : Tag %s has changed type", name, 1);
    return false;
  }
  const std::uint32_t stored_count = stored.MemberCount();
  for (std::uint32_t i = 0; i < stored_count; ++i) {
    const std::int32_t member = stored.Member(i);
    if (member < 1 || member > dict.record_count() || built.ListsMember(member)) continue;
    const std::uint32_t count = built.MemberCount();
    if (count >= tl::kMaxMembers) {
      ReportChange("        TagName.X : Failed to merge old children for Tag %s", name, 1);
      return false;
    }
    built.SetU32(tl::kMemberCount, count + 1);
    built.SetI32(tl::kMembers + 4 * count, member);
    ReportChange("        TagName.X : Tag %s removed from project database", NameOf(dict, member));
    changed = true;
  }
  const std::uint32_t count = built.MemberCount();
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::int32_t member = built.Member(i);
    if (stored.ListsMember(member)) continue;
    ReportChange("        TagName.X : Tag %s added to project database", NameOf(dict, member));
    changed = true;
  }
  const auto check = [&](bool differs, const char* format) {
    if (!differs) return;
    ReportChange(format, name);
    changed = true;
  };
  check(TextDiffers(built, stored, tl::kDescription, tl::kDescriptionWidth),
        "        TagName.X : Tag %s description changed");
  check((built.U32(tl::kFlags712) & 1u) != (stored.U32(tl::kFlags712) & 1u),
        "        TagName.X : Tag %s has had the logged flag changed");
  CompareIoFields(built, stored, changed);
  return true;
}

}  // namespace quellor
