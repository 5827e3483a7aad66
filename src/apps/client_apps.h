// CClientApps: every client application of one build. Its constructor discovers the HMI
// applications and historian nodes of the project and builds each of them; its destructor
// frees them. The driver constructs one and destroys it right away.
#pragma once

namespace quellor {

class CClientApps final {
 public:
  // ClientFilter and FolderOverride are null unless the command line named one application
  // and its folder.
  CClientApps(const char* ProjectDir, const char* FactorySuiteDir, const char* ClientsDir,
              const char* ClientFilter, const char* FolderOverride);
  ~CClientApps();
  CClientApps(const CClientApps&) = delete;
  CClientApps& operator=(const CClientApps&) = delete;
};

}  // namespace quellor
