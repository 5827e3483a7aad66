#include "accessnames/dde_cfg_values.h"

#include "base/ascii.h"

namespace quellor {
namespace {

bool HasByteTheFileCannotHold(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0\x1a", 4)) != std::string_view::npos;
}

bool IsBlank(std::string_view value) { return TrimAscii(value).empty(); }

}  // namespace

bool DDECfgCanCarry(DDECfgField field, std::string_view value) {
  if (HasByteTheFileCannotHold(value)) return false;
  switch (field) {
    case DDECfgField::kSourceName:
    case DDECfgField::kApplicationName:
    case DDECfgField::kItemName:
      return !IsBlank(value);
    case DDECfgField::kTopicName:
      return value.empty() || !IsBlank(value);
    case DDECfgField::kMasterServer:
      return value.find('\\') == std::string_view::npos;
    case DDECfgField::kTagName:
      return !IsBlank(value) && value.find(';') == std::string_view::npos;
  }
  return false;
}

}  // namespace quellor
