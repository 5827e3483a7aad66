// The records shared by the application classes: the folders every application starts from,
// and one client application ("View", "Recipe", ...) of an HMI application.
#pragma once

#include <string>
#include <vector>

namespace quellor {

// ProjectDir, FactorySuiteDir and ClientsDir as the driver derived them; ShellAppDir is the
// shell application's folder, empty until it is looked up. A historian node leaves ProjectDir
// and ShellAppDir empty.
struct CClientFolders {
  std::string ProjectDir;
  std::string FactorySuiteDir;
  std::string ClientsDir;
  std::string ShellAppDir;
};

// One client application: its name as the project gives it, and the positions in the
// application's access-name set of the access names it uses, each once, in the order met.
struct ClientApp_T {
  std::string ClientAppName;
  std::vector<int> AccNameIndices;
};

}  // namespace quellor
