// The project's remote applications: the access names of an application that the
// "PelnetData" I/O server serves, as the tag browser lists them.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tagbrowser/remote_app.h"
#include "tagbrowser/tag_brw.h"

namespace quellor {

inline constexpr std::string_view kRemoteAppGuid = "{7C42E0DC-3FAC-4ED2-AAFF-599044A1949D}";

// Whether an access name becomes a remote application: served by "PelnetData" and neither its
// source nor its topic named "Dummy", all in any letter case.
bool IsProjectRemoteApp(std::string_view source_name, std::string_view topic_name,
                        std::string_view application_name);

// The remote application of an access name: named after it, located at
// "<project folder> (<access name>)", served by "PelnetData" as spelt here.
CRemoteApp MakeProjectRemoteApp(std::string_view project_dir, std::string_view source_name);

// The names of one access name of the application, as the access-name set gives them.
struct ProjectAccessName final {
  std::string source_name;
  std::string topic_name;
  std::string application_name;
};

// Merges the remote application of each qualifying access name, in the set's order.
void MergeProjectRemoteApps(CTagBrw& model, std::string_view project_dir,
                            std::span<const ProjectAccessName> access_names);

}  // namespace quellor
