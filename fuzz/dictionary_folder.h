// An application folder for one fuzz input: the input as Tagname.X beside an empty Tag_Ext.X,
// in one temporary folder that the process reuses for every input (making and removing a
// folder per input would cost more than the dictionary's load). Both files are written anew
// for each input, and nothing reads the name index an earlier input left, so inputs stay
// reproducible. The steps of a build run over it in turn (the dictionary's load and repair,
// then the merge of a project, each step a function over the folder).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "tagdict/tag_dict.h"
#include "testing/temp_dir.h"

namespace quellor::fuzz {

class DictionaryFolder final {
 public:
  explicit DictionaryFolder(std::span<const std::uint8_t> tag_file);

  // The options a build hands the dictionary for this folder, with no access-name set.
  TagDictOptions Options() const;
  // The files as they are now.
  std::string TagFile() const;
  std::string CompanionFile() const;

 private:
  const testing::TempDir& dir_;
};

// Whether a Tagname.X of these bytes is of the old format, which ends the build's process
// (so the target leaves it alone): a header whose version is below the lowest one read.
bool IsOldFormat(std::span<const std::uint8_t> tag_file);

}  // namespace quellor::fuzz
