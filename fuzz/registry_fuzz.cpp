// The machine's .reg files: any bytes as one file over a registry that already holds a key,
// and the lookups the program makes afterwards. A damaged file may change keys but never
// harms the registry it is added to: a second file still applies over it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "platform/registry.h"

namespace {

constexpr std::string_view kBase =
    "Windows Registry Editor Version 5.00\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quellor]\r\n\"Kept\"=\"yes\"\r\n";
constexpr std::string_view kAfter = "REGEDIT4\n[HKEY_CURRENT_USER\\Later]\n\"Added\"=\"1\"\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellor;
  Registry registry;
  fuzz::Check(registry.AddFile(kBase).ok(), "the base file loads");
  (void)registry.AddFile(std::string_view(reinterpret_cast<const char*>(data), size));

  (void)registry.KeyExists(RegistryRoot::kLocalMachine, "SOFTWARE\\Quellor");
  (void)registry.QueryString(RegistryRoot::kLocalMachine, "SOFTWARE\\Quellor", "Kept");
  (void)registry.QueryString(RegistryRoot::kClassesRoot, "BuildWin.UBuildWin\\CLSID", "");
  (void)registry.QueryString(RegistryRoot::kLocalMachine, "SOFTWARE\\Quellor", "", 1);

  fuzz::Check(registry.AddFile(kAfter).ok(), "a later file loads over any file");
  const auto added = registry.QueryString(RegistryRoot::kCurrentUser, "Later", "Added");
  fuzz::Check(added.ok() && *added == "1", "a later file's value is read");
  return 0;
}
