#include "accessnames/dde_cfg_values.h"

#include "base/ascii.h"

namespace quellor {
namespace {

// A line end, a NUL or the end-of-file mark: one pass, as every tag name of a build comes here.
bool HasByteTheFileCannotHold(std::string_view value) {
  for (const char c : value) {
    if (c == '\r' || c == '\n' || c == '\0' || c == '\x1a') return true;
  }
  return false;
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
