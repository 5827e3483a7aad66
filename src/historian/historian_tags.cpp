#include "historian/historian_tags.h"

#include "base/ascii.h"
#include "platform/automation/conversions.h"
#include "projectdb/project_query.h"

namespace quellor {
namespace {

// The tag columns ReadImportTag reads, then the serving computer.
constexpr char kTagsSql[] =
    "SELECT qFTTrdData.TagName, qFTTrdData.FieldName, qFTTrdData.SubfieldName, "
    "qFTTrdData.RecordType, qFTTrdData.FldRenderedType, qFTTrdData.FullDesc, qFTTrdData.Units, "
    "qFTTrdData.HiRange, qFTTrdData.LoRange, ServerComputerPorts.ServerComputerName "
    "FROM ServerComputerPorts INNER JOIN ((PelnetNodes INNER JOIN (Blocks INNER JOIN "
    "(qFTTrdData INNER JOIN Tags ON qFTTrdData.TagName = Tags.TagName) ON Blocks.BlockId = "
    "Tags.BlockId) ON PelnetNodes.NodeName = Blocks.NodeName) INNER JOIN "
    "ServerComputerPortToNodes ON PelnetNodes.NodeName = ServerComputerPortToNodes.NodeName) ON "
    "ServerComputerPorts.ServerComputerPortID = ServerComputerPortToNodes.ServerComputerPortID "
    "WHERE (((qFTTrdData.Logged)=True)) ORDER BY qFTTrdData.FldRenderedType";
constexpr std::size_t kComputerColumn = 9;

// The serving computer of a row, or none when the row names none.
std::optional<std::string> ComputerOf(const ProjectRow& row) {
  const VARIANT* value = row.Column(kComputerColumn);
  if (value == nullptr || value->vt == VT_EMPTY || value->vt == VT_NULL) return std::nullopt;
  auto text = VariantToText(*value);
  if (!text.ok()) return std::nullopt;
  return std::move(*text);
}

}  // namespace

std::optional<std::span<const ImportTag>> HistorianTags::TagsOf(std::string_view node_name) {
  if (!read_) {
    read_ = true;
    prepared_ = Read();
  }
  if (!prepared_) return std::nullopt;
  const auto it = by_computer_.find(ToUpperAscii(node_name));
  if (it == by_computer_.end()) return std::span<const ImportTag>();
  return std::span<const ImportTag>(it->second);
}

bool HistorianTags::Read() {
  QueryParameters parameters(2);
  VariantSetBool(parameters.at(0), true);
  VariantSetBool(parameters.at(1), false);
  ProjectQuery query = ProjectQuery::Sql(kTagsSql, parameters.get(), 0);
  if (!query.ok()) return false;
  while (const std::optional<ProjectRow> row = query.NextRow()) {
    const std::optional<std::string> computer = ComputerOf(*row);
    ImportTag tag;
    if (computer && ReadImportTag(*row, tag)) {
      by_computer_[ToUpperAscii(*computer)].push_back(std::move(tag));
    }
  }
  return true;
}

}  // namespace quellor
