#include "driver/project_paths.h"

#include "platform/files.h"

namespace quellor {

std::string DeriveProjectDir(std::string_view project_path, bool names_a_folder) {
  // A folder whose path holds a "." (/srv/plant.v2/proj, .\plant) is still that folder.
  if (!names_a_folder && project_path.find('.') != std::string_view::npos) {
    const std::size_t last = project_path.find_last_of("\\/");
    if (last == std::string_view::npos || last == 0) return std::string();
    return std::string(project_path.substr(0, last));
  }
  if (!project_path.empty() && project_path.back() == '\\') project_path.remove_suffix(1);
  return std::string(project_path);
}

ProjectPaths DeriveProjectPaths(std::string_view project_path) {
  ProjectPaths paths;
  paths.project_dir = DeriveProjectDir(project_path, IsDirectory(project_path));
  paths.database_path = paths.project_dir + "\\Project.mdb";
  paths.factory_suite_dir = paths.project_dir + "\\FactorySuite";
  paths.clients_dir = paths.factory_suite_dir + "\\Clients";
  paths.settings_file = paths.project_dir + "\\ufolder.ini";
  return paths;
}

}  // namespace quellor
