// The project folder and the fixed paths inside it, derived from the first command-line
// field. The paths are program paths (Windows form, as messages show them); nothing is
// created here.
#pragma once

#include <string>
#include <string_view>

namespace quellor {

struct ProjectPaths {
  std::string project_dir;        // ProjectDir
  std::string database_path;      // ProjectDir + "\Project.mdb"
  std::string factory_suite_dir;  // FactorySuiteDir: ProjectDir + "\FactorySuite"
  std::string clients_dir;        // ClientsDir: FactorySuiteDir + "\Clients"
  std::string settings_file;      // ProjectDir + "\ufolder.ini"
};

// A field that names an existing folder (`names_a_folder`), or holds no "." at all, names the
// folder itself, less one trailing '\'. Any other field names a file: the project folder is the
// text before its last separator at position 1 or later (a '/' counts as a '\' here, so host
// paths work), or empty when there is none.
std::string DeriveProjectDir(std::string_view project_path, bool names_a_folder);
// The paths for the field; whether it names an existing folder is looked up on the machine.
ProjectPaths DeriveProjectPaths(std::string_view project_path);

}  // namespace quellor
