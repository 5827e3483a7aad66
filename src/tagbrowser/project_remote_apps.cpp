#include "tagbrowser/project_remote_apps.h"

#include <string>

#include "accessnames/acc_name.h"
#include "base/ascii.h"

namespace quellor {

bool IsProjectRemoteApp(std::string_view source_name, std::string_view topic_name,
                        std::string_view application_name) {
  return !EqualsIgnoreCase(source_name, kPlaceholderName) &&
         !EqualsIgnoreCase(topic_name, kPlaceholderName) &&
         EqualsIgnoreCase(application_name, kPelnetData);
}

CRemoteApp MakeProjectRemoteApp(std::string_view project_dir, std::string_view source_name) {
  CRemoteApp app;
  app.Name = source_name;
  app.Location = std::string(project_dir) + " (" + std::string(source_name) + ")";
  app.AccessName = source_name;
  app.ApplicationName = kPelnetData;
  app.Guid = kRemoteAppGuid;
  return app;
}

void MergeProjectRemoteApps(CTagBrw& model, std::string_view project_dir,
                            std::span<const ProjectAccessName> access_names) {
  for (const ProjectAccessName& name : access_names) {
    if (IsProjectRemoteApp(name.source_name, name.topic_name, name.application_name)) {
      model.MergeRemoteApp(MakeProjectRemoteApp(project_dir, name.source_name));
    }
  }
}

}  // namespace quellor
