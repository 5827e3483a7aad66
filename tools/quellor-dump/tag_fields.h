// The fields of a used Tagname.X record, as the CSV and JSON dumps show them and as a
// comparison of two dictionaries compares them: one row per field of the record layout, in the
// layout's order. A field the record's type does not use (the ranges of a discrete tag, the
// item of a group) has no value.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "quellor-dump/json_writer.h"
#include "tagdict/tag_record.h"

namespace quellor::dump {

// None, a text, an integer, a float32 (the ranges and deadband of a real tag), a flag, or a
// list of integers.
using FieldValue =
    std::variant<std::monostate, std::string, std::int64_t, float, bool, std::vector<std::int64_t>>;

struct TagField {
  std::string_view name;  // the CSV column and the JSON key
  // Its numbers are record numbers (parent, alarm group, members): they mean the tags they
  // name, so two dictionaries are compared by those tags' names.
  bool names_records;
  FieldValue (*value)(const TagRec_T& record);
};

std::span<const TagField> TagFields();

// A value as one CSV field: a list as its numbers separated by blanks, none as empty.
std::string FieldText(const FieldValue& value);
// A value as JSON: a list as an array, none as null.
void WriteField(JsonWriter& json, const FieldValue& value);

}  // namespace quellor::dump
