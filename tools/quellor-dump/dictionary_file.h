// A tag dictionary as quellor-dump reads it: Tagname.X whole, its header, the records it holds
// whole, its free chain, and where its Tag_Ext.X is. File names are found without regard to
// case, as the build finds them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tagdict/tag_record.h"

namespace quellor::dump {

class DictionaryFile final {
 public:
  // Reads the Tagname.X of `operand` (an application folder, or a Tagname.X whose folder is
  // meant); none, after the reason on standard error, when it cannot be read.
  static std::optional<DictionaryFile> Read(const std::string& operand);

  const std::string& tag_path() const { return tag_path_; }  // host paths
  const std::string& companion_path() const { return companion_path_; }
  std::size_t size() const { return bytes_.size(); }

  // None when the file is shorter than a header.
  const std::optional<TagHdr_T>& header() const { return header_; }
  // A file without the dictionary's magic number holds no records worth showing.
  bool HasMagic() const;
  std::int32_t whole_records() const { return whole_records_; }
  // Record n, for 1 <= n <= whole_records().
  TagRec_T Record(std::int32_t n) const;
  // The bytes after the last whole record, when the file holds any record.
  std::size_t CutBytes() const;

  // What is wrong with the file ("damaged (no whole header)", ...), the path first; none for
  // a sound one.
  std::optional<std::string> Problem() const;

 private:
  std::string tag_path_;
  std::string companion_path_;
  std::string bytes_;
  std::optional<TagHdr_T> header_;
  std::int32_t whole_records_ = 0;
};

// The free chain from the header's head, each record's next-free link in turn. A link that
// leaves the file, names a used record or comes back to a record already met ends it; that
// record is the chain's last.
struct FreeChain {
  enum class End { kEnd, kBroken, kUsedRecord };
  std::vector<std::int32_t> records;
  End end = End::kEnd;
};
FreeChain FollowFreeChain(const DictionaryFile& file);

}  // namespace quellor::dump
