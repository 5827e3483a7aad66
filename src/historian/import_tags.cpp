#include "historian/import_tags.h"

#include <charconv>
#include <optional>

#include "base/ascii.h"
#include "historian/import_file.h"
#include "platform/automation/conversions.h"

namespace quellor {
namespace {

constexpr int kDiscrete = 1;
constexpr int kFirstAnalog = 2;
constexpr int kLastAnalog = 9;
constexpr int kString = 10;

constexpr char kDiscreteHeader[] =
    ":(DiscreteTag)TagName\tDescription\tIOServerComputerName\tIOServerAppName\tTopicName\t"
    "ItemName\tAcquisitionType\tStorageType\tAcquisitionRate\tTimeDeadband\tSamplesInAI\tAIMode\t"
    "Message0\tMessage1\tInitialValue\tCurrentEditor\tServerTimeStamp";
constexpr char kUnitHeader[] = ":(EngineeringUnit)Unit\tDefaultTagRate\tIntegralDivisor";
constexpr char kAnalogHeader[] =
    ":(AnalogTag)TagName\tDescription\tIOServerComputerName\tIOServerAppName\tTopicName\t"
    "ItemName\tAcquisitionType\tStorageType\tAcquisitionRate\tStorageRate\tTimeDeadband\t"
    "SamplesInAI\tAIMode\tEngUnits\tMinEU\tMaxEU\tMinRaw\tMaxRaw\tScaling\tRawType\t"
    "IntegerSize\tSign\tValueDeadband\tInitialValue\tCurrentEditor\tRateDeadband\t"
    "InterpolationType\tRolloverValue\tServerTimeStamp\tDeadbandType";
constexpr char kStringHeader[] =
    ":(StringTag)TagName\tDescription\tIOServerComputerName\tIOServerAppName\tTopicName\t"
    "ItemName\tAcquisitionType\tStorageType\tAcquisitionRate\tTimeDeadband\tSamplesInAI\t"
    "MaxLength\tFormat\tInitialValue\tCurrentEditor\tServerTimeStamp";

// The raw value of an analog tag, by rendered type 2 to 9.
struct RawType {
  const char* scaling;
  const char* type;
  int integer_size;
  const char* sign;
};
constexpr RawType kRawTypes[] = {
    {"None", "Integer", 16, "Unsigned"}, {"None", "Integer", 16, "Unsigned"},
    {"None", "Integer", 32, "Unsigned"}, {"None", "Integer", 16, "Signed"},
    {"None", "Integer", 16, "Signed"},   {"None", "Integer", 32, "Signed"},
    {"Linear", "MSFloat", 0, ""},        {"Linear", "MSFloat", 0, ""},
};

// Column `index` of the row, or null when it cannot be fetched or is NULL or empty.
const VARIANT* PresentValue(const ProjectRow& row, std::size_t index) {
  const VARIANT* value = row.Column(index);
  if (value == nullptr || value->vt == VT_EMPTY || value->vt == VT_NULL) return nullptr;
  return value;
}

// Column `index` of the row as text, when it is present and converts to text. A text value,
// as nearly every one is, is viewed where the row holds it; only another kind is converted.
class TextValue final {
 public:
  TextValue(const ProjectRow& row, std::size_t index) {
    const VARIANT* value = PresentValue(row, index);
    if (value == nullptr) return;
    if (value->vt == VT_BSTR) {
      text_ = VariantTextView(*value);
    } else if (auto text = VariantToText(*value); text.ok()) {
      converted_ = std::move(*text);
      text_ = *converted_;
    }
  }
  TextValue(const TextValue&) = delete;
  TextValue& operator=(const TextValue&) = delete;

  bool present() const { return text_.has_value(); }
  // The text; empty when the value is not present.
  std::string_view text() const { return text_.value_or(std::string_view()); }

 private:
  std::optional<std::string> converted_;
  std::optional<std::string_view> text_;
};

double RangeValue(const ProjectRow& row, std::size_t index) {
  const VARIANT* value = PresentValue(row, index);
  if (value == nullptr) return 0;
  auto number = VariantToDouble(*value);
  return number.ok() ? *number : 0;
}

// "%f" whatever the process locale: fixed notation, a point and six decimals.
void AppendFixedSix(std::string& file, double value) {
  char text[400];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  file.append(text, result.ptr);
}

// Appends `value` as the file carries it: tabs and line ends, which would split its field or
// line, become blanks.
void AppendImportValue(std::string& file, std::string_view value) {
  const std::size_t start = file.size();
  file.append(value);
  for (std::size_t i = start; i < file.size(); ++i) {
    if (file[i] == '\t' || file[i] == '\r' || file[i] == '\n') file[i] = ' ';
  }
}

// Appends a value as a field of a tag line: as the file carries it, and ending at a NUL, where
// the C-string fields of these lines have always ended.
void AppendField(std::string& file, std::string_view value) {
  AppendImportValue(file, value.substr(0, value.find('\0')));
}

// The fields every tag line opens with: name, description, I/O server, its application, topic
// and item.
void AppendTagFields(std::string& file, const ImportTag& tag, std::string_view node) {
  AppendField(file, tag.tag_name);
  file += '\t';
  AppendField(file, tag.full_desc);
  file += '\t';
  AppendField(file, node);
  file += "\tPelnetData\tInSQL\t";
  AppendField(file, tag.item_name);
}

void WriteAnalog(std::string& file, const ImportTag& tag, std::string_view node,
                 int previous_type) {
  const std::string units = ImportValue(tag.units);
  if (!units.empty()) {
    WriteImportLine(file, kUnitHeader);
    WriteImportLine(file, units + "\t10000\t1");
  }
  if (!units.empty() || previous_type < kFirstAnalog || previous_type > kLastAnalog) {
    WriteImportLine(file, kAnalogHeader);
  }
  const RawType& raw = kRawTypes[tag.fld_rendered_type - kFirstAnalog];
  AppendTagFields(file, tag, node);
  file += "\tIOServer\tDelta\t0\t10000\t0\t0\tAll\t";
  AppendField(file, units.empty() ? "None" : units);
  for (const double range : {tag.lo_range, tag.hi_range, tag.lo_range, tag.hi_range}) {
    file += '\t';
    AppendFixedSix(file, range);
  }
  file.append("\t").append(raw.scaling).append("\t").append(raw.type).append("\t");
  file.append(std::to_string(raw.integer_size)).append("\t").append(raw.sign);
  file += "\t0\t0\t0\t0\tSystem Default\t0\tNo\tTimeValue\r\n";
}

}  // namespace

std::string ImportValue(std::string_view value) {
  std::string text;
  AppendImportValue(text, value);
  return text;
}

bool ReadImportTag(const ProjectRow& row, ImportTag& tag) {
  const TextValue name(row, 0);
  const TextValue record_type(row, 3);
  const VARIANT* type_value = PresentValue(row, 4);
  if (!name.present() || !record_type.present() || type_value == nullptr) return false;
  const auto type = VariantToInt16(*type_value);
  if (!type.ok()) return false;
  const std::string_view kind = TrimAscii(record_type.text());
  if (kind != "BlkTag" && kind != "FldTag") return false;

  tag.tag_name = TrimAscii(name.text());
  tag.item_name = tag.tag_name;
  tag.fld_rendered_type = *type;
  tag.full_desc = TextValue(row, 5).text();
  tag.units = TextValue(row, 6).text();
  tag.hi_range = RangeValue(row, 7);
  tag.lo_range = RangeValue(row, 8);
  if (kind == "BlkTag") {
    const TextValue field_value(row, 1);
    const TextValue subfield_value(row, 2);
    const std::string_view field = TrimAscii(field_value.text());
    const std::string_view subfield = TrimAscii(subfield_value.text());
    if (!field.empty()) {
      tag.item_name.append(".").append(field);
      tag.tag_name.append("\\").append(field);
      if (!subfield.empty()) {
        tag.item_name.append(".").append(subfield);
        tag.tag_name.append("\\").append(subfield);
      }
    }
  }
  return true;
}

int WriteImportTag(std::string& import_file, const ImportTag& tag, std::string_view node_name,
                   int previous_type) {
  const int type = tag.fld_rendered_type;
  if (type == kDiscrete) {
    if (previous_type != kDiscrete) WriteImportLine(import_file, kDiscreteHeader);
    AppendTagFields(import_file, tag, node_name);
    import_file += "\tIOServer\tDelta\t0\t0\t0\tAll\tOFF\tON\t0\t0\tNo\r\n";
  } else if (type >= kFirstAnalog && type <= kLastAnalog) {
    WriteAnalog(import_file, tag, node_name, previous_type);
  } else if (type == kString) {
    if (previous_type < kString) WriteImportLine(import_file, kStringHeader);
    AppendTagFields(import_file, tag, node_name);
    import_file += "\tIOServer\tDelta\t0\t0\t0\t512\tUnicode\t\t0\tNo\r\n";
  }
  return type;
}

}  // namespace quellor
