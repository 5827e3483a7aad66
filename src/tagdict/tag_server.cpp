#include "tagdict/tag_server.h"

#include <string>

#include "accessnames/acc_names.h"
#include "base/ascii.h"
#include "driver/project_query.h"
#include "platform/automation/conversions.h"

namespace quellor {

std::int32_t LookupTagServer(std::string_view tag_name, const CAccNames& access_names,
                             std::span<const int> app_access_names) {
  int id = 0;
  if (!TagDll().loaded()) return id;  // no project attached: nothing can be prepared
  QueryParameters parameters(1);
  parameters.SetText(0, tag_name);
  ProjectQuery query = ProjectQuery::Saved("qFTTagServer", parameters.get(), 0);
  if (!query.ok()) return id;
  VARIANT* row = nullptr;
  if (query.GetNextRow(&row) < 0 || row == nullptr || row->vt != (VT_ARRAY | VT_VARIANT)) {
    return id;
  }
  const VARIANT* server = SafeArrayElement(row->parray, 0);
  if (server == nullptr || server->vt == VT_EMPTY || server->vt == VT_NULL) return id;
  const auto text = VariantToText(*server);
  if (!text.ok()) return id;
  access_names.SelectPelnetSource(app_access_names, TrimAscii(*text), id);
  return id;
}

}  // namespace quellor
