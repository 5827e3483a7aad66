#include "tagdict/tag_server.h"

#include <string>

#include "accessnames/acc_names.h"
#include "base/ascii.h"
#include "platform/automation/conversions.h"
#include "projectdb/project_query.h"

namespace quellor {

std::optional<std::string> ServerComputerOf(const VARIANT* value) {
  if (value == nullptr || value->vt == VT_EMPTY || value->vt == VT_NULL) return std::nullopt;
  const auto text = VariantToText(*value);
  if (!text.ok()) return std::nullopt;
  return std::string(TrimAscii(*text));
}

TagServerAnswer AskTagServer(std::string_view tag_name) {
  if (!TagDll().loaded()) return {};  // no project attached: nothing can be prepared
  QueryParameters parameters(1);
  parameters.SetText(0, tag_name);
  ProjectQuery query = ProjectQuery::Saved("qFTTagServer", parameters.get(), 0);
  if (!query.ok()) return {};
  const std::optional<ProjectRow> row = query.NextRow();
  return {.prepared = true, .server = ServerComputerOf(row ? row->Column(0) : nullptr)};
}

std::optional<std::string> TagServerOf(std::string_view tag_name) {
  return AskTagServer(tag_name).server;
}

std::int32_t LookupTagServer(std::string_view tag_name, const CAccNames& access_names,
                             std::span<const int> app_access_names) {
  return TagServerLookup(access_names, app_access_names)(tag_name);
}

std::int32_t TagServerLookup::operator()(std::string_view tag_name) {
  return ForServer(TagServerOf(tag_name));
}

std::int32_t TagServerLookup::ForServer(const std::optional<std::string>& server) {
  if (!server) return 0;
  const auto [it, added] = by_server_.try_emplace(*server, 0);
  if (added) access_names_.SelectPelnetSource(app_access_names_, *server, it->second);
  return it->second;
}

}  // namespace quellor
