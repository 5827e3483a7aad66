// The field table of a Tagname.X record: which bytes each field is and which types use it.
#include "quellor-dump/tag_fields.h"

#include <array>

#include "tagdict/tag_layout.h"

namespace quellor::dump {
namespace {

namespace layout = tag_layout;

bool IsAnalog(const TagRec_T& record) {
  return record.Type() == layout::kTypeInteger || record.Type() == layout::kTypeReal;
}

FieldValue Text(const TagRec_T& record, std::size_t offset, std::size_t width) {
  return std::string(record.Text(offset, width));
}

// An integer tag's int32 or a real tag's float32; other types keep no number there.
FieldValue AnalogNumber(const TagRec_T& record, std::size_t offset) {
  if (record.Type() == layout::kTypeInteger) return std::int64_t{record.I32(offset)};
  if (record.Type() == layout::kTypeReal) return record.F32(offset);
  return {};
}

FieldValue AnalogWord(const TagRec_T& record, std::size_t offset) {
  return IsAnalog(record) ? FieldValue(std::int64_t{record.I32(offset)}) : FieldValue();
}

FieldValue AnalogU16(const TagRec_T& record, std::size_t offset) {
  return IsAnalog(record) ? FieldValue(std::int64_t{record.U16(offset)}) : FieldValue();
}

FieldValue Defaults320(const TagRec_T& record) {
  if (!IsAnalog(record)) return {};
  std::vector<std::int64_t> words;
  for (std::size_t i = 0; i < 3; ++i) words.push_back(record.U32(layout::kDefaults320 + 4 * i));
  return words;
}

FieldValue Flags712(const TagRec_T& record) {
  if (!layout::IsIoType(record.Type())) return {};
  return std::int64_t{record.U32(layout::kFlags712)};
}

FieldValue Logged(const TagRec_T& record) {
  if (!layout::IsIoType(record.Type())) return {};
  return (record.U32(layout::kFlags712) & 1) != 0;
}

FieldValue AccessName(const TagRec_T& record) {
  if (!layout::IsIoType(record.Type())) return {};
  return std::int64_t{record.AccessName()};
}

FieldValue Item(const TagRec_T& record) {
  if (!layout::IsIoType(record.Type())) return {};
  return std::string(record.ItemName());
}

FieldValue Members(const TagRec_T& record) {
  std::vector<std::int64_t> members;
  for (std::uint32_t i = 0; i < record.MemberCount(); ++i) members.push_back(record.Member(i));
  return members;
}

constexpr std::array kFields = {
    TagField{"name", false, [](const TagRec_T& r) { return FieldValue(std::string(r.Name())); }},
    TagField{
        "description", false,
        [](const TagRec_T& r) { return Text(r, layout::kDescription, layout::kDescriptionWidth); }},
    TagField{"type", false, [](const TagRec_T& r) { return FieldValue(std::int64_t{r.Type()}); }},
    TagField{"word_292", false,
             [](const TagRec_T& r) { return FieldValue(std::int64_t{r.I32(layout::kWord292)}); }},
    TagField{"alarm_group", true,
             [](const TagRec_T& r) { return FieldValue(std::int64_t{r.AlarmGroup()}); }},
    TagField{"flags_304", false,
             [](const TagRec_T& r) { return FieldValue(std::int64_t{r.U32(layout::kFlags304)}); }},
    TagField{"word_308", false,
             [](const TagRec_T& r) { return FieldValue(std::int64_t{r.I32(layout::kWord308)}); }},
    TagField{"defaults_320", false, &Defaults320},
    TagField{"word_332", false, [](const TagRec_T& r) { return AnalogU16(r, layout::kWord332); }},
    TagField{"word_340", false, [](const TagRec_T& r) { return AnalogU16(r, layout::kWord340); }},
    TagField{"units", false,
             [](const TagRec_T& r) {
               return IsAnalog(r) ? Text(r, layout::kUnits, layout::kUnitsWidth) : FieldValue();
             }},
    TagField{"access_name", false, &AccessName},
    TagField{"item", false, &Item},
    TagField{"initial_value", false,
             [](const TagRec_T& r) { return AnalogNumber(r, layout::kInitialValue); }},
    TagField{"eng_min", false, [](const TagRec_T& r) { return AnalogNumber(r, layout::kEngMin); }},
    TagField{"eng_max", false, [](const TagRec_T& r) { return AnalogNumber(r, layout::kEngMax); }},
    TagField{"raw_min", false, [](const TagRec_T& r) { return AnalogNumber(r, layout::kRawMin); }},
    TagField{"raw_max", false, [](const TagRec_T& r) { return AnalogNumber(r, layout::kRawMax); }},
    TagField{"word_680", false, [](const TagRec_T& r) { return AnalogWord(r, layout::kWord680); }},
    TagField{"flags_712", false, &Flags712},
    TagField{"logged", false, &Logged},
    TagField{"log_deadband", false,
             [](const TagRec_T& r) { return AnalogNumber(r, layout::kLogDeadband); }},
    TagField{"word_724", false,
             [](const TagRec_T& r) { return FieldValue(std::int64_t{r.I32(layout::kWord724)}); }},
    TagField{
        "member_mark", false,
        [](const TagRec_T& r) { return FieldValue(std::int64_t{r.U32(layout::kMemberMark)}); }},
    TagField{"parent", true,
             [](const TagRec_T& r) { return FieldValue(std::int64_t{r.Parent()}); }},
    TagField{
        "member_count", false,
        [](const TagRec_T& r) { return FieldValue(std::int64_t{r.U32(layout::kMemberCount)}); }},
    TagField{"members", true, &Members},
};

struct TextOf {
  std::string operator()(std::monostate) const { return ""; }
  std::string operator()(const std::string& text) const { return text; }
  std::string operator()(std::int64_t number) const { return std::to_string(number); }
  std::string operator()(float number) const { return FloatText(number); }
  std::string operator()(bool flag) const { return flag ? "1" : "0"; }
  std::string operator()(const std::vector<std::int64_t>& numbers) const {
    std::string text;
    for (const std::int64_t number : numbers) {
      if (!text.empty()) text += ' ';
      text += std::to_string(number);
    }
    return text;
  }
};

struct JsonOf {
  JsonWriter& json;
  void operator()(std::monostate) const { json.Null(); }
  void operator()(const std::string& text) const { json.String(text); }
  void operator()(std::int64_t number) const { json.Int(number); }
  void operator()(float number) const { json.Float(number); }
  void operator()(bool flag) const { json.Bool(flag); }
  void operator()(const std::vector<std::int64_t>& numbers) const {
    json.BeginArray();
    for (const std::int64_t number : numbers) json.Int(number);
    json.End();
  }
};

}  // namespace

std::span<const TagField> TagFields() { return kFields; }

std::string FieldText(const FieldValue& value) { return std::visit(TextOf{}, value); }

void WriteField(JsonWriter& json, const FieldValue& value) { std::visit(JsonOf{json}, value); }

}  // namespace quellor::dump
