// The Access SQL adaptation of the project-database library: any text. An adapted text must
// adapt again to itself (nothing left to rewrite, no literal or name opened or closed by the
// rewrite), and the names it collects are each there once, without regard to case.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ascii.h"
#include "fuzz_check.h"
#include "tagdll/access_sql.h"

namespace {

bool NamesDistinct(const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    for (std::size_t j = i + 1; j < names.size(); ++j) {
      if (quellor::EqualsIgnoreCase(names[i], names[j])) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellor;
  const std::string_view sql(reinterpret_cast<const char*>(data), size);
  const auto adapted = tagdll::AdaptAccessSql(sql);
  if (!adapted.ok()) return 0;
  fuzz::Check(NamesDistinct(adapted->names), "each collected name is there once");

  const auto again = tagdll::AdaptAccessSql(adapted->text);
  fuzz::Check(again.ok(), "an adapted text adapts again");
  fuzz::Check(again->text == adapted->text, "an adapted text adapts to itself");
  return 0;
}
