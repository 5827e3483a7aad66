#include "apps/managed_apps.h"

namespace quellor {
namespace {

bool g_managed_apps = false;

}  // namespace

void SetManagedApps(bool managed) { g_managed_apps = managed; }

bool ManagedApps() { return g_managed_apps; }

}  // namespace quellor
