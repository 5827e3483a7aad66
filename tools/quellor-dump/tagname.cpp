// quellor-dump tagname FOLDER|TAGNAME.X: the tag dictionary of an application folder (or the
// one whose Tagname.X is given) as the build reads it: the header of Tagname.X, each used record
// (number, name, type, parent, alarm group, access name, members), the free chain from its head,
// and the size of Tag_Ext.X. File names are found without regard to case, as the build finds
// them. A file without the dictionary's magic number is no dictionary, and one that ends inside
// a record is cut: both are shown as far as they go and fail (exit 1).
#include <cstdint>
#include <set>
#include <span>
#include <string>

#include "base/format.h"
#include "platform/env.h"
#include "platform/path_resolver.h"
#include "quellor-dump/dump_command.h"
#include "tagdict/tag_layout.h"
#include "tagdict/tag_record.h"

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

void PrintHeader(const TagHdr_T& header, std::int32_t whole_records) {
  PrintLine(StringPrintf("magic        0x%08X%s", header.magic,
                         header.magic == layout::kMagic ? "" : " (not the dictionary's)"));
  PrintLine(StringPrintf("version      %d", header.version));
  PrintLine(StringPrintf("save count   %d", header.save_count));
  PrintLine(
      StringPrintf("records      %d (%d whole in the file)", header.record_count, whole_records));
  PrintLine(StringPrintf("free head    %d", header.free_head));
  PrintLine(StringPrintf("used         %d", header.used_count));
  std::string reserved;
  for (const std::uint8_t byte : header.reserved) reserved += StringPrintf(" %02X", byte);
  PrintLine("reserved    " + reserved);
}

void PrintRecord(std::int32_t number, const TagRec_T& record) {
  PrintLine(StringPrintf("%6d %s type %u parent %d alarm group %d access name %d", number,
                         Quoted(record.Name()).c_str(), record.Type(), record.Parent(),
                         record.AlarmGroup(), record.AccessName()));
  const std::uint32_t count = record.MemberCount();
  if (count == 0) return;
  std::string members = StringPrintf("       members %u:", count);
  for (std::uint32_t i = 0; i < count; ++i) members += StringPrintf(" %d", record.Member(i));
  PrintLine(members);
}

// The free chain from the header's head, each record's next-free link in turn; a link that
// leaves the file, names a used record or comes back to a record already met ends it.
void PrintFreeChain(const std::string& bytes, std::int32_t head, std::int32_t whole_records) {
  std::string chain = "free chain  ";
  std::set<std::int32_t> met;
  std::int32_t next = head;
  while (next != 0) {
    chain += StringPrintf(" %d", next);
    if (next < 1 || next > whole_records || !met.insert(next).second) {
      chain += " (broken)";
      break;
    }
    const auto* at =
        reinterpret_cast<const std::uint8_t*>(bytes.data()) + layout::RecordOffset(next);
    const TagRec_T record(
        std::span<const std::uint8_t, layout::kRecordSize>(at, layout::kRecordSize));
    if (!record.IsFree()) {
      chain += " (a used record: broken)";
      break;
    }
    next = record.NextFree();
  }
  PrintLine(chain + (next == 0 ? " end" : ""));
}

}  // namespace

int DumpTagname(std::span<const std::string> operands) {
  const std::string folder = DictionaryFolder(operands[0]);
  const std::string tag_path = FileInFolder(folder, layout::kTagFileName);
  const std::optional<std::string> bytes = ReadInput(tag_path);
  if (!bytes) return kExitBadInput;
  PrintLine("Tagname.X    " + ShownPath(tag_path));
  if (bytes->size() < layout::kHeaderSize) {
    PrintError(ShownPath(tag_path) + ": damaged (no whole header)");
    return kExitBadInput;
  }
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->data());
  const TagHdr_T header = TagHdr_T::Decode({data, bytes->size()});
  const auto whole_records = static_cast<std::int32_t>(
      bytes->size() < layout::kRecordSize ? 0 : bytes->size() / layout::kRecordSize - 1);
  PrintHeader(header, whole_records);
  if (header.magic != layout::kMagic) {
    PrintError(ShownPath(tag_path) + ": not a tag dictionary (its magic number is wrong)");
    return kExitBadInput;
  }
  for (std::int32_t n = 1; n <= whole_records; ++n) {
    const TagRec_T record(std::span<const std::uint8_t, layout::kRecordSize>(
        data + layout::RecordOffset(n), layout::kRecordSize));
    if (!record.IsFree()) PrintRecord(n, record);
  }
  PrintFreeChain(*bytes, header.free_head, whole_records);

  const std::string companion_path = FileInFolder(folder, layout::kCompanionFileName);
  const std::optional<std::string> companion = ReadInput(companion_path);
  if (!companion) return kExitBadInput;
  PrintLine(StringPrintf("Tag_Ext.X    %s: %zu bytes, %zu whole units of %zu",
                         ShownPath(companion_path).c_str(), companion->size(),
                         companion->size() / layout::kCompanionRecordSize,
                         layout::kCompanionRecordSize));
  if (const std::size_t cut = bytes->size() % layout::kRecordSize;
      bytes->size() > layout::kRecordSize && cut != 0) {
    PrintError(StringPrintf("%s: cut (%zu bytes after the last whole record)",
                            ShownPath(tag_path).c_str(), cut));
    return kExitBadInput;
  }
  return kExitOk;
}

}  // namespace quellor::dump
