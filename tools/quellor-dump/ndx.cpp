// quellor-dump ndx FILE: Tagnames.NDX, one 129-byte name field per record number from 1; a
// free record's entry is all zeros. A part-entry at the end is damage.
#include <span>
#include <string>

#include "base/format.h"
#include "quellor-dump/dump_command.h"
#include "tagdict/tag_layout.h"

namespace quellor::dump {

int DumpNdx(std::span<const std::string> operands) {
  const std::string& host_path = operands[0];
  const std::optional<std::string> bytes = ReadInput(host_path);
  if (!bytes) return kExitBadInput;
  const std::size_t width = tag_layout::kNameWidth;
  const std::size_t entries = bytes->size() / width;
  PrintLine(StringPrintf("Tagnames.NDX %s: %zu entries", ShownPath(host_path).c_str(), entries));
  for (std::size_t i = 0; i < entries; ++i) {
    const std::string_view field = std::string_view(*bytes).substr(i * width, width);
    const std::string_view name = field.substr(0, field.find('\0'));
    PrintLine(StringPrintf("%6zu %s", i + 1, name.empty() ? "(free)" : Quoted(name).c_str()));
  }
  if (bytes->size() % width != 0) {
    PrintError(ShownPath(host_path) + StringPrintf(": damaged (%zu bytes after the last whole "
                                                   "entry)",
                                                   bytes->size() % width));
    return kExitBadInput;
  }
  return kExitOk;
}

}  // namespace quellor::dump
