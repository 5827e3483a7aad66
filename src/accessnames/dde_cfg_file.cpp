#include "accessnames/dde_cfg_file.h"

#include <string>

#include "accessnames/dde_cfg.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/text_mode.h"

namespace quellor {
namespace {

// The file's text as the runtime's text mode reads it; NotFound for a missing file, any
// other failure for one that exists but cannot be opened or read.
Result<std::string> ReadTextFile(const std::string& path) {
  auto file = OpenExclusive(path, ExclusiveCreation::kOpenExisting);
  if (!file.ok()) return file.status();
  auto bytes = ReadAll(**file);
  if (!bytes.ok()) return Status::IoError(bytes.status().message());
  return FromCrLf(*bytes, CtrlZ::kEndsText);
}

}  // namespace

bool ReadDDECfgFile(std::string_view app_folder, CAccNames& names) {
  const std::string path = DDECfgPath(app_folder);
  return ReadDDECfg(path, ReadTextFile(path), names);
}

void WriteDDECfgFile(CAccNames& names, std::string_view app_folder) {
  const std::string path = DDECfgPath(app_folder);
  WriteDDECfg(names, path,
              [&path](std::string_view text) { return ReplaceFileAtomically(path, ToCrLf(text)); });
}

}  // namespace quellor
