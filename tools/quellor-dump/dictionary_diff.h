// The differences between two tag dictionaries: tags keyed by name without regard to case
// (the n-th record of a name in one matched with the n-th of that name in the other), each
// field of the record layout compared, record numbers (parent, alarm group, members) by the
// names of the tags they name. Where a record sits, the save count and the counters a build
// recomputes are no difference.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "quellor-dump/dictionary_file.h"

namespace quellor::dump {

// Values are shown as the text form shows them: texts and tag names quoted (so a name is told
// from a number), numbers as they are, a field the type does not use as "(none)".
struct FieldChange {
  std::string_view field;
  std::string a;
  std::string b;
};

struct TagDifference {
  enum class Kind { kAdded, kRemoved, kChanged };
  Kind kind;
  std::string name;    // as the dictionary that has it spells it (B's, when both have it)
  int occurrence = 1;  // which record of the name, in record order
  std::vector<FieldChange> fields;  // a changed tag's changed fields, in layout order
};

struct DictionaryDifferences {
  std::vector<FieldChange> header;  // version and the reserved bytes
  std::vector<TagDifference> tags;  // in the order of their upper-cased names
  bool empty() const { return header.empty() && tags.empty(); }
};

// Requires two files without Problem().
DictionaryDifferences CompareDictionaries(const DictionaryFile& a, const DictionaryFile& b);

}  // namespace quellor::dump
