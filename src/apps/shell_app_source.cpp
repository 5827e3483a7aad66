#include "apps/shell_app_source.h"

#include <charconv>

#include "apps/app_list.h"
#include "base/ascii.h"

namespace quellor {
namespace {

float InstalledInTouchVersion(const Registry& registry) {
  float version = 9.0F;
  auto text = registry.QueryString(RegistryRoot::kLocalMachine, kInTouchInstallationKey, "Version");
  if (!text.ok()) return version;
  std::string_view number = TrimLeftAscii(*text);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  double parsed = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
  if (error == std::errc() && end != number.data()) version = static_cast<float>(parsed);
  return version;
}

}  // namespace

ShellAppSource LookUpShellAppSource(const Registry& registry) {
  ShellAppSource source;
  source.version = InstalledInTouchVersion(registry);
  source.suite_key_exists = registry.KeyExists(RegistryRoot::kLocalMachine, kSuiteKey);
  if (!source.suite_key_exists) return source;
  for (const ShellAppValue& value : kShellAppValues) {
    // The plain value is tried whatever the version says, even one below zero.
    if (value.lowest_version > 0.0F && !(source.version >= value.lowest_version)) continue;
    auto folder = registry.QueryString(RegistryRoot::kLocalMachine, kSuiteKey, value.name);
    if (folder.ok()) {
      source.value_name = value.name;
      source.folder = folder->c_str();  // a stored NUL ends the folder name
      return source;
    }
  }
  source.managed_elsewhere =
      registry.QueryString(RegistryRoot::kLocalMachine, kSuiteKey, "ManagedAppfile").ok();
  return source;
}

}  // namespace quellor
