// Reading a tag dictionary for a dump: the folder behind the operand, the files in it by name
// without regard to case, and the checks that tell a dictionary from damage.
#include "quellor-dump/dictionary_file.h"

#include <set>

#include "base/format.h"
#include "platform/env.h"
#include "platform/path_resolver.h"
#include "quellor-dump/dump_command.h"
#include "tagdict/tag_layout.h"

namespace quellor::dump {
namespace {

namespace layout = tag_layout;

// The folder of the dictionary the operand names: the operand itself when it is a folder, else
// the folder of the Tagname.X it names.
std::string DictionaryFolder(const std::string& operand) {
  const Result<FileInfo> info = Env::Default().file_system().Stat(operand, /*follow=*/true);
  if (info.ok() && info->type == FileType::kDirectory) return operand;
  const std::size_t slash = operand.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : operand.substr(0, slash);
}

// The host path of a file in the folder, its name matched without regard to case.
std::string FileInFolder(const std::string& host_folder, std::string_view file_name) {
  Result<std::string> path = ResolvePath(ShownPath(host_folder) + std::string(file_name));
  return path.ok() ? *path : host_folder + "/" + std::string(file_name.substr(1));
}

}  // namespace

std::optional<DictionaryFile> DictionaryFile::Read(const std::string& operand) {
  DictionaryFile file;
  const std::string folder = DictionaryFolder(operand);
  file.tag_path_ = FileInFolder(folder, layout::kTagFileName);
  file.companion_path_ = FileInFolder(folder, layout::kCompanionFileName);
  std::optional<std::string> bytes = ReadInput(file.tag_path_);
  if (!bytes) return std::nullopt;
  file.bytes_ = std::move(*bytes);
  if (file.bytes_.size() >= layout::kHeaderSize) {
    file.header_ = TagHdr_T::Decode(
        {reinterpret_cast<const std::uint8_t*>(file.bytes_.data()), file.bytes_.size()});
  }
  file.whole_records_ = static_cast<std::int32_t>(
      file.bytes_.size() < layout::kRecordSize ? 0 : file.bytes_.size() / layout::kRecordSize - 1);
  return file;
}

bool DictionaryFile::HasMagic() const { return header_ && header_->magic == layout::kMagic; }

TagRec_T DictionaryFile::Record(std::int32_t n) const {
  const auto* at = reinterpret_cast<const std::uint8_t*>(bytes_.data()) + layout::RecordOffset(n);
  return TagRec_T(std::span<const std::uint8_t, layout::kRecordSize>(at, layout::kRecordSize));
}

std::size_t DictionaryFile::CutBytes() const {
  return bytes_.size() > layout::kRecordSize ? bytes_.size() % layout::kRecordSize : 0;
}

std::optional<std::string> DictionaryFile::Problem() const {
  const std::string path = ShownPath(tag_path_);
  if (!header_) return path + ": damaged (no whole header)";
  if (!HasMagic()) return path + ": not a tag dictionary (its magic number is wrong)";
  if (const std::size_t cut = CutBytes(); cut != 0) {
    return StringPrintf("%s: cut (%zu bytes after the last whole record)", path.c_str(), cut);
  }
  return std::nullopt;
}

FreeChain FollowFreeChain(const DictionaryFile& file) {
  FreeChain chain;
  std::set<std::int32_t> met;
  for (std::int32_t next = file.header() ? file.header()->free_head : 0; next != 0;) {
    chain.records.push_back(next);
    if (next < 1 || next > file.whole_records() || !met.insert(next).second) {
      chain.end = FreeChain::End::kBroken;
      break;
    }
    const TagRec_T record = file.Record(next);
    if (!record.IsFree()) {
      chain.end = FreeChain::End::kUsedRecord;
      break;
    }
    next = record.NextFree();
  }
  return chain;
}

}  // namespace quellor::dump
