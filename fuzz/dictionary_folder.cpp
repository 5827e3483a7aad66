#include "dictionary_folder.h"

#include <string_view>

#include "base/le_codec.h"
#include "tagdict/tag_layout.h"

namespace quellor::fuzz {

namespace tl = tag_layout;

DictionaryFolder::DictionaryFolder(std::span<const std::uint8_t> tag_file) {
  testing::WriteFile(
      dir_.Join("Tagname.X"),
      std::string_view(reinterpret_cast<const char*>(tag_file.data()), tag_file.size()));
  testing::WriteFile(dir_.Join("Tag_Ext.X"), "");
}

TagDictOptions DictionaryFolder::Options() const {
  return TagDictOptions{.folder = dir_.path().string()};
}

std::string DictionaryFolder::TagFile() const { return testing::ReadFile(dir_.Join("Tagname.X")); }

std::string DictionaryFolder::CompanionFile() const {
  return testing::ReadFile(dir_.Join("Tag_Ext.X"));
}

bool IsOldFormat(std::span<const std::uint8_t> tag_file) {
  if (tag_file.size() < tl::kHeaderSize) return false;
  const auto version = static_cast<std::int32_t>(LoadLe32(tag_file.data() + tl::kHdrVersion));
  return version < tl::kLowestVersion;
}

}  // namespace quellor::fuzz
