// CClientApps: every client application of one build. Its constructor discovers the HMI
// applications and historian nodes of the project and builds each of them; its destructor
// frees them. The driver constructs one and destroys it right away.
#pragma once

#include <memory>
#include <vector>

#include "apps/insql_app.h"
#include "apps/intouch_app.h"

namespace quellor {

class CClientApps final {
 public:
  // ClientFilter and FolderOverride are null unless the command line named one application
  // and its folder. The historian nodes are built only without a ClientFilter.
  CClientApps(const char* ProjectDir, const char* FactorySuiteDir, const char* ClientsDir,
              const char* ClientFilter, const char* FolderOverride);
  // Frees the HMI applications in order, then the historian nodes in order.
  ~CClientApps();
  CClientApps(const CClientApps&) = delete;
  CClientApps& operator=(const CClientApps&) = delete;

  const std::vector<std::unique_ptr<CInTApp>>& InTouchApps() const { return InTouchApps_; }
  const std::vector<std::unique_ptr<CInSApp>>& InSQLNodes() const { return InSQLNodes_; }

 private:
  void DiscoverInTouchApps(const char* ProjectDir, const char* FactorySuiteDir,
                           const char* ClientsDir, const char* ClientFilter,
                           const char* FolderOverride);
  void DiscoverInSQLNodes(const char* FactorySuiteDir, const char* ClientsDir);

  std::vector<std::unique_ptr<CInTApp>> InTouchApps_;
  std::vector<std::unique_ptr<CInSApp>> InSQLNodes_;
};

}  // namespace quellor
