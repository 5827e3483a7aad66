// quellor-dump tagname --diff FOLDER_A FOLDER_B: the tags only B has (added), only A has
// (removed) and both have with other fields (changed, field by field). Exits as diff(1) does:
// 0 the same, 1 different, 2 trouble (an operand unreadable or no sound dictionary).
#include <string>

#include "base/format.h"
#include "base/str_cat.h"
#include "quellor-dump/csv_writer.h"
#include "quellor-dump/dictionary_diff.h"
#include "quellor-dump/dictionary_file.h"
#include "quellor-dump/dump_command.h"
#include "quellor-dump/json_writer.h"

namespace quellor::dump {
namespace {

std::string_view KindName(TagDifference::Kind kind) {
  switch (kind) {
    case TagDifference::Kind::kAdded:
      return "added";
    case TagDifference::Kind::kRemoved:
      return "removed";
    case TagDifference::Kind::kChanged:
      return "changed";
  }
  return "";
}

// The tag as the text form names it: quoted, and which record of its name when not the first.
std::string ShownTag(const TagDifference& tag) {
  return Quoted(tag.name) +
         (tag.occurrence == 1 ? "" : StringPrintf(" (record %d of that name)", tag.occurrence));
}

// "FIELD: A -> B" after `indent`.
std::string ChangeLine(std::string_view indent, const FieldChange& change) {
  return StrCat(indent, change.field, ": ", change.a, " -> ", change.b);
}

void PrintText(const DictionaryDifferences& differences) {
  for (const FieldChange& change : differences.header) PrintLine(ChangeLine("header ", change));
  for (const TagDifference& tag : differences.tags) {
    PrintLine(std::string(KindName(tag.kind)) + " " + ShownTag(tag));
    for (const FieldChange& change : tag.fields) PrintLine(ChangeLine("    ", change));
  }
}

void WriteChanges(JsonWriter& json, const std::vector<FieldChange>& changes) {
  json.BeginArray();
  for (const FieldChange& change : changes) {
    json.BeginObject().Key("field").String(change.field);
    json.Key("a").String(change.a).Key("b").String(change.b).End();
  }
  json.End();
}

void PrintJson(const DictionaryFile& a, const DictionaryFile& b,
               const DictionaryDifferences& differences) {
  JsonWriter json;
  json.BeginObject().Key("a").String(ShownPath(a.tag_path()));
  json.Key("b").String(ShownPath(b.tag_path()));
  WriteChanges(json.Key("header"), differences.header);
  json.Key("tags").BeginArray();
  for (const TagDifference& tag : differences.tags) {
    json.BeginObject().Key("change").String(KindName(tag.kind)).Key("name").String(tag.name);
    json.Key("occurrence").Int(tag.occurrence);
    WriteChanges(json.Key("fields"), tag.fields);
    json.End();
  }
  PrintUtf8(json.Finish());
}

void PrintCsv(const DictionaryDifferences& differences) {
  PrintCsvRow({"change", "name", "occurrence", "field", "a", "b"});
  for (const FieldChange& change : differences.header) {
    PrintCsvRow({"header", "", "", std::string(change.field), change.a, change.b});
  }
  for (const TagDifference& tag : differences.tags) {
    const std::string kind(KindName(tag.kind));
    const std::string occurrence = std::to_string(tag.occurrence);
    if (tag.fields.empty()) PrintCsvRow({kind, tag.name, occurrence, "", "", ""});
    for (const FieldChange& change : tag.fields) {
      PrintCsvRow({kind, tag.name, occurrence, std::string(change.field), change.a, change.b});
    }
  }
}

// A dictionary fit to compare; none, after the reason on standard error, otherwise.
std::optional<DictionaryFile> ReadSound(const std::string& operand) {
  std::optional<DictionaryFile> file = DictionaryFile::Read(operand);
  if (!file) return std::nullopt;
  if (const std::optional<std::string> problem = file->Problem()) {
    PrintError(*problem);
    return std::nullopt;
  }
  return file;
}

}  // namespace

int DiffTagname(const DumpRequest& request) {
  const std::optional<DictionaryFile> a = ReadSound(request.operands[0]);
  const std::optional<DictionaryFile> b = ReadSound(request.operands[1]);
  if (!a || !b) return kExitTrouble;
  const DictionaryDifferences differences = CompareDictionaries(*a, *b);
  switch (request.format) {
    case OutputFormat::kText:
      PrintText(differences);
      break;
    case OutputFormat::kJson:
      PrintJson(*a, *b, differences);
      break;
    case OutputFormat::kCsv:
      PrintCsv(differences);
      break;
  }
  return differences.empty() ? kExitSame : kExitDifferent;
}

}  // namespace quellor::dump
