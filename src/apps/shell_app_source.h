// Where the suite keeps the HMI shell application that fills a new application folder: a
// value of the suite's registry key per HMI version, the first that fits the installed version.
// The build reads it so (CInTApp::FindShellAppSource); quellor-prefix writes and checks the same
// values.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace quellor {

// The suite's key, below HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kSuiteKey = "SOFTWARE\\Holdrane\\Corvane";

// A value naming the shell application's folder, for the installed HMI versions from
// `lowest_version` on (0: any version).
struct ShellAppValue {
  std::string_view name;
  float lowest_version;
};
// In the order they are tried.
inline constexpr std::array<ShellAppValue, 4> kShellAppValues = {{
    {"InTShellApp_10p5", 10.5F},
    {"InTShellApp_10p0", 10.0F},
    {"InTShellApp_9p5", 9.5F},
    {"InTShellApp", 0.0F},
}};

struct ShellAppSource {
  bool suite_key_exists = false;
  // The installed HMI version: "Version" of the HMI's installation key read as "%f" reads it
  // into a float; 9.0 without a key, a value or a number.
  float version = 9.0F;
  std::string value_name;  // the value that gave the folder; empty when none did
  std::string folder;      // its text, up to a stored NUL
  // "ManagedAppfile" is set: the applications are made elsewhere (for when no folder is found).
  bool managed_elsewhere = false;
};

ShellAppSource LookUpShellAppSource(const Registry& registry);

}  // namespace quellor
