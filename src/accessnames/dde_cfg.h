// DDE.CFG: the access-name file of an InTouch application folder (docs/formats/DDE.CFG.md).
//
// The entry points work on the file's text, so that the caller reads and replaces the file
// through the platform: the reader takes the text up to a Ctrl-Z byte, its lines ended by LF
// or CR LF alike; the writer produces text with LF line ends, which text mode writes as CR LF.
// Both report their outcome through Report with the file's full path.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "accessnames/acc_names.h"
#include "base/status.h"

namespace quellor {

// The full path of an application folder's DDE.CFG, as messages show it.
std::string DDECfgPath(std::string_view app_folder);

// Fills `names` (empty) with the set that the application's DDE.CFG at `path` holds. `file` is
// what reading the file gave: its text; or NotFound, for a folder without the file ("No
// existing Access Name data", an empty set); or any other failure, for a file that exists but
// cannot be opened (held by another build, no permission): "Failed to open %s", an empty set
// and false, so that the application is not built and the old file, with what a user
// configured in it, is never replaced by one without it. A text that breaks the grammar gives
// false too, keeping the records completed before the fault.
[[nodiscard]] bool ReadDDECfg(std::string_view path, const Result<std::string>& file,
                              CAccNames& names);

// The grammar over a text: fills `names` and tells whether the text is a valid DDE.CFG.
// Reports nothing.
[[nodiscard]] bool ParseDDECfg(std::string_view text, CAccNames& names);

// The file's text for `names`, and the warnings its writing owes (one per redundant access
// name whose secondary source is dropped).
struct DDECfgText {
  std::string text;
  std::vector<std::string> warnings;
};
DDECfgText FormatDDECfg(const CAccNames& names);

// Replaces a whole file with the given text (LF line ends), as the platform's text writer does.
using ReplaceTextFile = std::function<Status(std::string_view text)>;

// Writes `names` to DDE.CFG at `path` through `replace`: the placeholder fix-up (which stays in
// the set), then the text. On success the warnings and "Created file %s"; on any failure only
// "Failed to create file %s", and the old file is left as it was.
void WriteDDECfg(CAccNames& names, std::string_view path, const ReplaceTextFile& replace);

}  // namespace quellor
