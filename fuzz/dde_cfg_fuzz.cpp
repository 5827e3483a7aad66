// DDE.CFG: any text through the grammar. A text the grammar accepts is written back, and what
// is written must read again, and write again to the same text: a build that reads its own
// file never loses an access name or a point.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "accessnames/acc_names.h"
#include "accessnames/dde_cfg.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellor;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CAccNames names;
  if (!ParseDDECfg(text, names)) return 0;

  const DDECfgText written = FormatDDECfg(names);
  CAccNames reread;
  fuzz::Check(ParseDDECfg(written.text, reread), "a written DDE.CFG reads again");
  fuzz::Check(FormatDDECfg(reread).text == written.text,
              "a DDE.CFG read back writes the same text");
  return 0;
}
