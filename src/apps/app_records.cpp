#include "apps/app_records.h"

#include "accessnames/dde_cfg_values.h"
#include "apps/folder_name.h"
#include "base/ascii.h"
#include "platform/automation/conversions.h"

namespace quellor {
namespace {

bool HoldsLineEnd(std::string_view value) {
  return value.find_first_of("\r\n") != std::string_view::npos;
}

bool IsBlank(std::string_view value) { return TrimAscii(value).empty(); }

}  // namespace

bool ReadRecordFields(ProjectQuery& query, std::span<const char* const> names,
                      std::span<std::string> values) {
  for (std::string& value : values) value.clear();
  for (std::size_t i = 0; i < names.size(); ++i) {
    ScopedVariant field;
    if (query.GetFieldValueByFieldName(field.get(), names[i]) < 0) return false;
    if (field->vt == VT_BSTR) {
      values[i] = VariantTextView(*field.get());
    } else if (field->vt != VT_NULL) {
      return false;
    }
  }
  return true;
}

bool IsRecordUsable(std::string_view client, std::optional<std::string_view> client_app,
                    const ProjAccName_T& row) {
  if (!IsSingleFolderName(client) || IsBlank(client)) return false;
  if (client_app && (IsBlank(*client_app) || HoldsLineEnd(*client_app))) return false;
  if (IsBlank(row.AccessName) || IsBlank(row.ServerApplication) ||
      IsBlank(row.MasterServerComputerName)) {
    return false;
  }
  return DDECfgCanCarry(DDECfgField::kSourceName, row.AccessName) &&
         DDECfgCanCarry(DDECfgField::kApplicationName, row.ServerApplication) &&
         DDECfgCanCarry(DDECfgField::kMasterServer, row.MasterServerComputerName) &&
         // The standby server is never written to DDE.CFG; only a line end spoils it.
         !HoldsLineEnd(row.StandbyServerComputerName) &&
         DDECfgCanCarry(DDECfgField::kTopicName, row.Topic);
}

}  // namespace quellor
