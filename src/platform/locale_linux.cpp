#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <string>

#include "platform/env.h"
#include "platform/locale.h"
#include "platform/registry.h"

namespace quellor {
namespace {

constexpr std::size_t kSeparatorBuffer = 5;

// The locale name the user chose for numbers, or "" for none.
std::string UserNumericLocale() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

// Whether that locale writes decimals with a comma; the process locale is left alone.
bool UsesDecimalComma(const std::string& name) {
  if (name.empty()) return false;
  const locale_t locale = newlocale(LC_NUMERIC_MASK, name.c_str(), static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return false;  // not installed
  const char* radix = nl_langinfo_l(RADIXCHAR, locale);
  const bool comma = radix != nullptr && std::string(radix) == ",";
  freelocale(locale);
  return comma;
}

}  // namespace

std::optional<char> ListSeparator() {
  Result<std::string> configured = Env::Default().registry().QueryString(
      RegistryRoot::kCurrentUser, "Control Panel\\International", "sList", kSeparatorBuffer);
  if (configured.ok()) {
    if (configured->empty()) return std::nullopt;
    return configured->front();
  }
  return UsesDecimalComma(UserNumericLocale()) ? ';' : ',';
}

}  // namespace quellor
