// CClientApps: every client application of one build. Its constructor discovers the HMI
// applications and historian nodes of the project and builds each of them; its destructor
// frees them. The driver constructs one and destroys it right away.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "apps/insql_app.h"
#include "apps/intouch_app.h"

namespace quellor {

class CClientApps final {
 public:
  // `client_filter` and `folder_override` are given when the command line named one
  // application and its folder. The historian nodes are built only without a client filter.
  CClientApps(std::string_view project_dir, std::string_view factory_suite_dir,
              std::string_view clients_dir, std::optional<std::string_view> client_filter,
              std::optional<std::string_view> folder_override);
  // Frees the HMI applications in order, then the historian nodes in order.
  ~CClientApps();
  CClientApps(const CClientApps&) = delete;
  CClientApps& operator=(const CClientApps&) = delete;

  const std::vector<std::unique_ptr<CInTApp>>& InTouchApps() const { return in_touch_apps_; }
  const std::vector<std::unique_ptr<CInSApp>>& InSQLNodes() const { return in_sql_nodes_; }

 private:
  void DiscoverInTouchApps(std::string_view project_dir, std::string_view factory_suite_dir,
                           std::string_view clients_dir,
                           std::optional<std::string_view> client_filter,
                           std::optional<std::string_view> folder_override);
  void DiscoverInSQLNodes(std::string_view factory_suite_dir, std::string_view clients_dir);

  std::vector<std::unique_ptr<CInTApp>> in_touch_apps_;
  std::vector<std::unique_ptr<CInSApp>> in_sql_nodes_;
};

}  // namespace quellor
