#include "tagdict/tag_server_table.h"

#include <utility>

#include "platform/automation/conversions.h"
#include "platform/automation/variant.h"
#include "projectdb/project_query.h"
#include "tagdict/tag_server.h"

namespace quellor {
namespace {

// The definitions of qFTTagServer that projects are made with, with every run of blanks and
// line ends as one blank: as SQLite SQL (Sql) and as Access SQL (AccessSql).
constexpr std::string_view kStockSql =
    "SELECT p.ServerComputerName FROM Tags AS t JOIN Blocks AS b ON b.BlockId = t.BlockId "
    "JOIN ServerComputerPortToNodes AS n ON n.NodeName = b.NodeName "
    "JOIN ServerComputerPorts AS p ON p.ServerComputerPortID = n.ServerComputerPortID "
    "WHERE t.TagName = ?1";
constexpr std::string_view kStockAccessSql =
    "SELECT ServerComputerPorts.ServerComputerName "
    "FROM ((Tags INNER JOIN Blocks ON Tags.BlockId = Blocks.BlockId) "
    "INNER JOIN ServerComputerPortToNodes ON Blocks.NodeName = ServerComputerPortToNodes.NodeName) "
    "INNER JOIN ServerComputerPorts "
    "ON ServerComputerPortToNodes.ServerComputerPortID = ServerComputerPorts.ServerComputerPortID "
    "WHERE (((Tags.TagName)=[Tag Name]));";

// Every tag of the stock query's tables with the server its chain reaches, one row per chain.
constexpr char kJoinSql[] =
    "SELECT Tags.TagName, ServerComputerPorts.ServerComputerName "
    "FROM ((Tags INNER JOIN Blocks ON Tags.BlockId = Blocks.BlockId) "
    "INNER JOIN ServerComputerPortToNodes ON Blocks.NodeName = ServerComputerPortToNodes.NodeName) "
    "INNER JOIN ServerComputerPorts "
    "ON ServerComputerPortToNodes.ServerComputerPortID = ServerComputerPorts.ServerComputerPortID";

// Every column of SavedQueries, so that a table of the older shape, without AccessSql, is
// read without an error.
constexpr char kDefinitionSql[] =
    "SELECT * FROM SavedQueries WHERE SavedQueries.Name = \"qFTTagServer\"";

// `text` with each run of blanks, tabs and line ends as one blank, and none at either end.
// The stock definitions hold no quoted text, so no text that matches one loses a blank
// that mattered.
std::string CollapseBlanks(std::string_view text) {
  std::string collapsed;
  for (const char c : text) {
    const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (!blank) {
      collapsed += c;
    } else if (!collapsed.empty() && collapsed.back() != ' ') {
      collapsed += ' ';
    }
  }
  if (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
  return collapsed;
}

// The text of a field of the definition's row; none when it is missing, NULL or no text.
std::optional<std::string> DefinitionField(ProjectQuery& query, const char* field) {
  ScopedVariant value;
  if (query.GetFieldValueByFieldName(value.get(), field) < 0 || value->vt != VT_BSTR) {
    return std::nullopt;
  }
  return std::string(VariantTextView(*value.get()));
}

// Whether the project's qFTTagServer is one of the stock definitions. The library prepares a
// query's Sql when it has one, else its AccessSql.
bool IsStockDefinition() {
  ProjectQuery query = ProjectQuery::Sql(kDefinitionSql, nullptr, 0);
  if (!query.ok() || query.MoveNext() < 0) return false;
  if (const std::optional<std::string> sql = DefinitionField(query, "Sql")) {
    return CollapseBlanks(*sql) == kStockSql;
  }
  const std::optional<std::string> access_sql = DefinitionField(query, "AccessSql");
  return access_sql && CollapseBlanks(*access_sql) == kStockAccessSql;
}

}  // namespace

std::optional<TagServerTable> TagServerTable::Read() {
  if (!IsStockDefinition()) return std::nullopt;
  ProjectQuery query = ProjectQuery::Sql(kJoinSql, nullptr, 0);
  if (!query.ok()) return std::nullopt;
  TagServerTable table;
  while (const std::optional<ProjectRow> row = query.NextRow()) {
    const VARIANT* name = row->Column(0);
    // A tag's name is text; anything else could not be bound as the query's parameter.
    if (name == nullptr || name->vt != VT_BSTR) return std::nullopt;
    table.Add(VariantTextView(*name), ServerComputerOf(row->Column(1)));
  }
  return table;
}

void TagServerTable::Add(std::string_view tag_name, std::optional<std::string> server) {
  if (tag_name.find('?') != std::string_view::npos) return;  // Find leaves it to the query
  const auto [it, added] = tags_.try_emplace(std::string(tag_name), kAskTheQuery);
  // A second row of the tag leaves it to the query.
  it->second = added ? ComputerIndex(std::move(server)) : kAskTheQuery;
}

std::int32_t TagServerTable::ComputerIndex(std::optional<std::string> server) {
  if (!server) return 0;
  const auto [it, added] =
      computer_indexes_.try_emplace(*server, static_cast<std::int32_t>(computers_.size()));
  if (added) computers_.push_back(std::move(server));
  return it->second;
}

const std::optional<std::string>* TagServerTable::Find(std::string_view tag_name) const {
  if (tag_name.find('?') != std::string_view::npos) return nullptr;
  const auto it = tags_.find(tag_name);
  if (it == tags_.end()) return &computers_[0];
  return it->second == kAskTheQuery ? nullptr : &computers_[it->second];
}

}  // namespace quellor
