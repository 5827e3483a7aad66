#include "dictionary_folder.h"

#include <filesystem>
#include <string_view>

#include "base/le_codec.h"
#include "tagdict/tag_layout.h"

namespace quellor::fuzz {

namespace tl = tag_layout;

namespace {

// In memory where the machine has /dev/shm: on a disk file system, rewriting and replacing the
// same files for every input makes each close wait for the disk.
const testing::TempDir& ProcessFolder() {
  static const testing::TempDir dir(std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                                              : "/tmp");
  return dir;
}

}  // namespace

DictionaryFolder::DictionaryFolder(std::span<const std::uint8_t> tag_file) : dir_(ProcessFolder()) {
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
