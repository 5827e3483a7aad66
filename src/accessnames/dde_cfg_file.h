// DDE.CFG on disk: read through an exclusive open in text mode (a Ctrl-Z byte ends it), and
// replaced atomically with CR LF line ends, so a crash never leaves a torn file and a file
// another build holds is never taken for a missing one.
#pragma once

#include <string_view>

#include "accessnames/acc_names.h"

namespace quellor {

// Fills `names` with the set held by `app_folder`\DDE.CFG, with ReadDDECfg's messages; false
// when the application must not be built.
[[nodiscard]] bool ReadDDECfgFile(std::string_view app_folder, CAccNames& names);

// Writes `names` to `app_folder`\DDE.CFG (created when missing), with WriteDDECfg's messages.
void WriteDDECfgFile(CAccNames& names, std::string_view app_folder);

}  // namespace quellor
