#include "apps/client_apps.h"

namespace quellor {

// Discovery and the application builds are not here yet: a build does nothing past the
// project-flags gate.
CClientApps::CClientApps(const char* /*ProjectDir*/, const char* /*FactorySuiteDir*/,
                         const char* /*ClientsDir*/, const char* /*ClientFilter*/,
                         const char* /*FolderOverride*/) {}

CClientApps::~CClientApps() = default;

}  // namespace quellor
