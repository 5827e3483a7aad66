// The program state of one run: the globals that several modules read, kept together so that
// the driver can begin each run from a clean slate in the same process (tests run the driver
// in-process as well as through the binary).
#pragma once

#include <cstdint>
#include <string>

namespace quellor {

struct RunState final {
  // The command line after trimming and upper-casing.
  std::string g_CmdLine;
  // 1 when the project's ufolder.ini says the HMI applications are published elsewhere; set
  // only by the driver, read by the application-folder preparation.
  std::uint8_t g_ManagedApps = 0;
};

// The one run state of the process.
RunState& TheRunState();

inline const std::string& CmdLine() { return TheRunState().g_CmdLine; }
inline std::uint8_t ManagedApps() { return TheRunState().g_ManagedApps; }

}  // namespace quellor
