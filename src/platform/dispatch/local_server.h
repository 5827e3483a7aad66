// Finds the local server of an automation object as the component runtime does: the ProgID's
// class id (HKEY_CLASSES_ROOT\<ProgID>\CLSID, default value), then that class's
// LocalServer32 (HKEY_CLASSES_ROOT\CLSID\<id>\LocalServer32, default value), which here is the
// path of the Unix-domain socket the server listens on.
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"

namespace quellor::dispatch {

Result<std::string> FindLocalServer(std::string_view prog_id);

}  // namespace quellor::dispatch
