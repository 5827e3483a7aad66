#include "accessnames/dde_cfg_file.h"

#include <string>
#include <utility>

#include "accessnames/dde_cfg.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/text_mode.h"

namespace quellor {
namespace {

// The file's text up to a Ctrl-Z byte, as the runtime's text mode ends it; NotFound for a
// missing file, any other failure for one that exists but cannot be opened or read. The CR LF
// line ends stay: the reader trims every line, so a CR before an LF reads as the dropped one of
// text mode would, and any other CR is kept, as text mode keeps it. The file is not copied.
Result<std::string> ReadDDECfgText(const std::string& path) {
  auto file = OpenExclusive(path, ExclusiveCreation::kOpenExisting);
  if (!file.ok()) return file.status();
  auto bytes = ReadAll(**file);
  if (!bytes.ok()) return Status::IoError(bytes.status().message());
  if (const std::size_t ctrl_z = bytes->find('\x1A'); ctrl_z != std::string::npos) {
    bytes->resize(ctrl_z);
  }
  return std::move(*bytes);
}

}  // namespace

bool ReadDDECfgFile(std::string_view app_folder, CAccNames& names) {
  const std::string path = DDECfgPath(app_folder);
  return ReadDDECfg(path, ReadDDECfgText(path), names);
}

void WriteDDECfgFile(CAccNames& names, std::string_view app_folder) {
  const std::string path = DDECfgPath(app_folder);
  WriteDDECfg(names, path,
              [&path](std::string_view text) { return ReplaceFileAtomically(path, ToCrLf(text)); });
}

}  // namespace quellor
