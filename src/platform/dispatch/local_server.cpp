#include "platform/dispatch/local_server.h"

#include "platform/env.h"
#include "platform/registry.h"

namespace quellor::dispatch {

Result<std::string> FindLocalServer(std::string_view prog_id) {
  const Registry& registry = Env::Default().registry();
  std::string prog_key(prog_id);
  prog_key += "\\CLSID";
  auto class_id = registry.QueryString(RegistryRoot::kClassesRoot, prog_key, "");
  if (!class_id.ok()) return class_id.status();
  const std::string server_key = "CLSID\\" + *class_id + "\\LocalServer32";
  return registry.QueryString(RegistryRoot::kClassesRoot, server_key, "");
}

}  // namespace quellor::dispatch
