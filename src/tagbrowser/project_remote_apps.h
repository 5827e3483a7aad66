// The project's remote applications: the access names of an application that the
// "PelnetData" I/O server serves, as the tag browser lists them.
#pragma once

#include <string_view>

#include "tagbrowser/remote_app.h"

namespace quellor {

inline constexpr std::string_view kRemoteAppServer = "PelnetData";
inline constexpr std::string_view kRemoteAppGuid = "{7C42E0DC-3FAC-4ED2-AAFF-599044A1949D}";

// Whether an access name becomes a remote application: served by "PelnetData" and neither its
// source nor its topic named "Dummy", all in any letter case.
bool IsProjectRemoteApp(std::string_view source_name, std::string_view topic_name,
                        std::string_view application_name);

// The remote application of an access name: named after it, located at
// "<project folder> (<access name>)", served by "PelnetData" as spelt here.
CRemoteApp MakeProjectRemoteApp(std::string_view project_dir, std::string_view source_name);

}  // namespace quellor
