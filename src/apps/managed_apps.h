// Whether the project's HMI applications are published from the engineering environment
// rather than copied from the shell application: the project's "ManagedApps" setting, which
// the driver reads and sets here before discovery. Off until set.
#pragma once

namespace quellor {

void SetManagedApps(bool managed);
bool ManagedApps();

}  // namespace quellor
