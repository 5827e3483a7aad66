// quellor-dump tagname FOLDER|TAGNAME.X: the tag dictionary of an application folder (or the
// one whose Tagname.X is given) as the build reads it: the header of Tagname.X, each used record
// (number, name, type, parent, alarm group, access name, members), the free chain from its head,
// and the size of Tag_Ext.X. As JSON the same with every field of each used record; as CSV one
// row per used record with every field. A file without the dictionary's magic number is no
// dictionary, and one that ends inside a record is cut: both are shown as far as they go and
// fail (exit 1).
#include <cstdint>
#include <span>
#include <string>

#include "base/format.h"
#include "quellor-dump/csv_writer.h"
#include "quellor-dump/dictionary_file.h"
#include "quellor-dump/dump_command.h"
#include "quellor-dump/json_writer.h"
#include "quellor-dump/tag_fields.h"
#include "tagdict/tag_layout.h"

namespace quellor::dump {
namespace {

namespace layout = tag_layout;

// What the dump shows of Tag_Ext.X: its size, and how many whole units it holds.
struct CompanionSize {
  std::string path;
  std::size_t bytes;
  std::size_t whole_units() const { return bytes / layout::kCompanionRecordSize; }
};

std::optional<CompanionSize> ReadCompanion(const DictionaryFile& file) {
  const std::optional<std::string> bytes = ReadInput(file.companion_path());
  if (!bytes) return std::nullopt;
  return CompanionSize{file.companion_path(), bytes->size()};
}

// Fails with the file's problem on standard error, if it has one.
int Verdict(const DictionaryFile& file) {
  const std::optional<std::string> problem = file.Problem();
  if (!problem) return kExitOk;
  PrintError(*problem);
  return kExitBadInput;
}

void PrintHeader(const DictionaryFile& file) {
  const TagHdr_T& header = *file.header();
  PrintLine(StringPrintf("magic        0x%08X%s", header.magic,
                         file.HasMagic() ? "" : " (not the dictionary's)"));
  PrintLine(StringPrintf("version      %d", header.version));
  PrintLine(StringPrintf("save count   %d", header.save_count));
  PrintLine(StringPrintf("records      %d (%d whole in the file)", header.record_count,
                         file.whole_records()));
  PrintLine(StringPrintf("free head    %d", header.free_head));
  PrintLine(StringPrintf("used         %d", header.used_count));
  PrintLine("reserved     " + Hex(header.reserved));
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

void PrintFreeChain(const FreeChain& chain) {
  std::string text = "free chain  ";
  for (const std::int32_t record : chain.records) text += StringPrintf(" %d", record);
  switch (chain.end) {
    case FreeChain::End::kEnd:
      text += " end";
      break;
    case FreeChain::End::kBroken:
      text += " (broken)";
      break;
    case FreeChain::End::kUsedRecord:
      text += " (a used record: broken)";
      break;
  }
  PrintLine(text);
}

int PrintText(const DictionaryFile& file) {
  PrintLine("Tagname.X    " + ShownPath(file.tag_path()));
  if (!file.header()) return Verdict(file);
  PrintHeader(file);
  if (!file.HasMagic()) return Verdict(file);
  for (std::int32_t n = 1; n <= file.whole_records(); ++n) {
    const TagRec_T record = file.Record(n);
    if (!record.IsFree()) PrintRecord(n, record);
  }
  PrintFreeChain(FollowFreeChain(file));
  const std::optional<CompanionSize> companion = ReadCompanion(file);
  if (!companion) return kExitBadInput;
  PrintLine(StringPrintf("Tag_Ext.X    %s: %zu bytes, %zu whole units of %zu",
                         ShownPath(companion->path).c_str(), companion->bytes,
                         companion->whole_units(), layout::kCompanionRecordSize));
  return Verdict(file);
}

void WriteHeader(JsonWriter& json, const DictionaryFile& file) {
  const TagHdr_T& header = *file.header();
  json.Key("header").BeginObject();
  json.Key("magic").Int(header.magic).Key("version").Int(header.version);
  json.Key("save_count").Int(header.save_count).Key("record_count").Int(header.record_count);
  json.Key("whole_records").Int(file.whole_records());
  json.Key("free_head").Int(header.free_head).Key("used_count").Int(header.used_count);
  json.Key("reserved").String(Hex(header.reserved));
  json.End();
}

void WriteRecords(JsonWriter& json, const DictionaryFile& file) {
  json.Key("records").BeginArray();
  for (std::int32_t n = 1; n <= file.whole_records(); ++n) {
    const TagRec_T record = file.Record(n);
    if (record.IsFree()) continue;
    json.BeginObject().Key("record").Int(n);
    for (const TagField& field : TagFields()) WriteField(json.Key(field.name), field.value(record));
    json.End();
  }
  json.End();
}

void WriteFreeChain(JsonWriter& json, const FreeChain& chain) {
  json.Key("free_chain").BeginObject().Key("records").BeginArray();
  for (const std::int32_t record : chain.records) json.Int(record);
  json.End().Key("end").String(chain.end == FreeChain::End::kEnd          ? "end"
                               : chain.end == FreeChain::End::kUsedRecord ? "used record"
                                                                          : "broken");
  json.End();
}

int PrintJson(const DictionaryFile& file) {
  JsonWriter json;
  json.BeginObject().Key("tagname_x").String(ShownPath(file.tag_path()));
  int code = kExitOk;
  if (file.header()) WriteHeader(json, file);
  if (file.HasMagic()) {
    WriteRecords(json, file);
    WriteFreeChain(json, FollowFreeChain(file));
    if (const std::optional<CompanionSize> companion = ReadCompanion(file)) {
      json.Key("tag_ext_x").BeginObject().Key("path").String(ShownPath(companion->path));
      json.Key("bytes").Int(static_cast<std::int64_t>(companion->bytes));
      json.Key("whole_units").Int(static_cast<std::int64_t>(companion->whole_units()));
      json.End();
    } else {
      code = kExitBadInput;
    }
  }
  PrintUtf8(json.Finish());
  return code == kExitOk ? Verdict(file) : code;
}

int PrintCsv(const DictionaryFile& file) {
  std::vector<std::string> row = {"record"};
  for (const TagField& field : TagFields()) row.emplace_back(field.name);
  PrintCsvRow(row);
  if (!file.HasMagic()) return Verdict(file);
  for (std::int32_t n = 1; n <= file.whole_records(); ++n) {
    const TagRec_T record = file.Record(n);
    if (record.IsFree()) continue;
    row.assign({std::to_string(n)});
    for (const TagField& field : TagFields()) row.push_back(FieldText(field.value(record)));
    PrintCsvRow(row);
  }
  return Verdict(file);
}

}  // namespace

int DumpTagname(const DumpRequest& request) {
  const std::optional<DictionaryFile> file = DictionaryFile::Read(request.operands[0]);
  if (!file) return kExitBadInput;
  switch (request.format) {
    case OutputFormat::kText:
      return PrintText(*file);
    case OutputFormat::kJson:
      return PrintJson(*file);
    case OutputFormat::kCsv:
      return PrintCsv(*file);
  }
  return kExitUsage;
}

}  // namespace quellor::dump
