#include "tagdict/tag_server.h"

#include <string>

#include "accessnames/acc_names.h"
#include "base/ascii.h"
#include "platform/automation/conversions.h"
#include "projectdb/project_query.h"

namespace quellor {

std::optional<std::string> TagServerOf(std::string_view tag_name) {
  if (!TagDll().loaded()) return std::nullopt;  // no project attached: nothing can be prepared
  QueryParameters parameters(1);
  parameters.SetText(0, tag_name);
  ProjectQuery query = ProjectQuery::Saved("qFTTagServer", parameters.get(), 0);
  if (!query.ok()) return std::nullopt;
  const std::optional<ProjectRow> row = query.NextRow();
  const VARIANT* server = row ? row->Column(0) : nullptr;
  if (server == nullptr || server->vt == VT_EMPTY || server->vt == VT_NULL) return std::nullopt;
  const auto text = VariantToText(*server);
  if (!text.ok()) return std::nullopt;
  return std::string(TrimAscii(*text));
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
