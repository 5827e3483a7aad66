// Comparing two dictionaries: an index of each by name, then one walk over both in name order.
#include "quellor-dump/dictionary_diff.h"

#include <map>
#include <utility>

#include "base/ascii.h"
#include "quellor-dump/dump_command.h"
#include "quellor-dump/tag_fields.h"

namespace quellor::dump {
namespace {

// A tag's name upper-cased, and which record of that name it is (from 1, in record order).
using TagKey = std::pair<std::string, int>;

class DictionaryIndex final {
 public:
  explicit DictionaryIndex(const DictionaryFile& file) : file_(file) {
    names_.resize(static_cast<std::size_t>(file.whole_records()) + 1);
    std::map<std::string, int> seen;
    for (std::int32_t n = 1; n <= file.whole_records(); ++n) {
      const TagRec_T record = file.Record(n);
      if (record.IsFree()) continue;
      names_[n] = std::string(record.Name());
      std::string upper = ToUpperAscii(names_[n]);
      const int occurrence = ++seen[upper];
      by_key_.emplace(TagKey{std::move(upper), occurrence}, n);
    }
  }

  const std::map<TagKey, std::int32_t>& by_key() const { return by_key_; }
  TagRec_T Record(std::int32_t n) const { return file_.Record(n); }
  const std::string& name(std::int32_t n) const { return names_[n]; }

  // A field's value as a difference shows it; record numbers become the names they name.
  std::string Shown(const TagField& field, const FieldValue& value) const {
    if (std::holds_alternative<std::monostate>(value)) return "(none)";
    if (const auto* text = std::get_if<std::string>(&value)) return Quoted(*text);
    if (!field.names_records) return FieldText(value);
    const auto* one = std::get_if<std::int64_t>(&value);
    const std::vector<std::int64_t> numbers =
        one ? std::vector<std::int64_t>{*one} : std::get<std::vector<std::int64_t>>(value);
    std::string shown;
    for (const std::int64_t number : numbers) {
      if (!shown.empty()) shown += ' ';
      const bool names_tag = number >= 1 && number < static_cast<std::int64_t>(names_.size()) &&
                             !names_[number].empty();
      shown += names_tag ? Quoted(names_[number]) : std::to_string(number);
    }
    return shown;
  }

 private:
  const DictionaryFile& file_;
  std::vector<std::string> names_;  // [n]: the name of used record n; empty for a free one
  std::map<TagKey, std::int32_t> by_key_;
};

std::vector<FieldChange> ChangedFields(const DictionaryIndex& a, std::int32_t record_a,
                                       const DictionaryIndex& b, std::int32_t record_b) {
  const TagRec_T in_a = a.Record(record_a);
  const TagRec_T in_b = b.Record(record_b);
  std::vector<FieldChange> changes;
  for (const TagField& field : TagFields()) {
    std::string shown_a = a.Shown(field, field.value(in_a));
    std::string shown_b = b.Shown(field, field.value(in_b));
    if (shown_a != shown_b) changes.push_back({field.name, std::move(shown_a), std::move(shown_b)});
  }
  return changes;
}

std::vector<FieldChange> HeaderChanges(const TagHdr_T& a, const TagHdr_T& b) {
  std::vector<FieldChange> changes;
  if (a.version != b.version) {
    changes.push_back({"version", std::to_string(a.version), std::to_string(b.version)});
  }
  if (a.reserved != b.reserved) changes.push_back({"reserved", Hex(a.reserved), Hex(b.reserved)});
  return changes;
}

}  // namespace

DictionaryDifferences CompareDictionaries(const DictionaryFile& a, const DictionaryFile& b) {
  DictionaryDifferences differences;
  differences.header = HeaderChanges(*a.header(), *b.header());
  const DictionaryIndex index_a(a);
  const DictionaryIndex index_b(b);
  auto at_a = index_a.by_key().begin();
  auto at_b = index_b.by_key().begin();
  const auto end_a = index_a.by_key().end();
  const auto end_b = index_b.by_key().end();
  while (at_a != end_a || at_b != end_b) {
    if (at_b == end_b || (at_a != end_a && at_a->first < at_b->first)) {
      differences.tags.push_back(
          {TagDifference::Kind::kRemoved, index_a.name(at_a->second), at_a->first.second, {}});
      ++at_a;
    } else if (at_a == end_a || at_b->first < at_a->first) {
      differences.tags.push_back(
          {TagDifference::Kind::kAdded, index_b.name(at_b->second), at_b->first.second, {}});
      ++at_b;
    } else {
      std::vector<FieldChange> fields = ChangedFields(index_a, at_a->second, index_b, at_b->second);
      if (!fields.empty()) {
        differences.tags.push_back({TagDifference::Kind::kChanged, index_b.name(at_b->second),
                                    at_b->first.second, std::move(fields)});
      }
      ++at_a;
      ++at_b;
    }
  }
  return differences;
}

}  // namespace quellor::dump
