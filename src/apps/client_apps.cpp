// Discovery: the records of the project's two client queries grouped into HMI applications
// and historian nodes, each built in the order found.
#include "apps/client_apps.h"

#include <array>
#include <string>

#include "apps/app_records.h"
#include "base/format.h"
#include "historian/historian_tags.h"
#include "report/report.h"
#include "tagdict/project_tags.h"

namespace quellor {
namespace {

// Used when the project's own query lists nothing: every application with every access name,
// all under "View".
constexpr char kAllAppsSql[] =
    "SELECT InTouchAppNames.InTouchAppName, \"View\" AS ApplicationName, "
    "AccessNames.AccessName, AccessNames.MasterServerComputerName, "
    "AccessNames.StandbyServerComputerName, AccessNames.ServerApplication, AccessNames.Topic "
    "FROM AccessNames, InTouchAppNames ORDER BY InTouchAppNames.InTouchAppName";

constexpr char kNodesSql[] =
    "SELECT AccessNames.MasterServerComputerName AS ComputerName,AccessNames.* FROM AccessNames "
    "WHERE (((AccessNames.ServerApplication)=\"PelnetData\")) ORDER BY "
    "AccessNames.MasterServerComputerName";

constexpr std::array<const char*, 7> kAppFields = {"InTouchAppName",
                                                   "ApplicationName",
                                                   "AccessName",
                                                   "MasterServerComputerName",
                                                   "StandbyServerComputerName",
                                                   "ServerApplication",
                                                   "Topic"};

constexpr std::array<const char*, 6> kNodeFields = {
    "ComputerName", "AccessName",       "MasterServerComputerName", "StandbyServerComputerName",
    "Topic",        "ServerApplication"};

// The records to group, positioned on the first one: the saved query's, or when it lists
// none the fallback's, prepared only once the saved query's context is released. Not prepared
// (released) when neither has a record; a fallback that fails to prepare has none.
ProjectQuery FirstAppRecord(ProjectQuery saved) {
  if (saved.MoveNext() >= 0) return saved;
  saved.Release();
  ProjectQuery fallback = ProjectQuery::Sql(kAllAppsSql, nullptr, 0);
  if (fallback.ok() && fallback.MoveNext() < 0) fallback.Release();
  return fallback;
}

}  // namespace

CClientApps::CClientApps(std::string_view project_dir, std::string_view factory_suite_dir,
                         std::string_view clients_dir,
                         std::optional<std::string_view> client_filter,
                         std::optional<std::string_view> folder_override) {
  DiscoverInTouchApps(project_dir, factory_suite_dir, clients_dir, client_filter, folder_override);
  if (!client_filter) DiscoverInSQLNodes(factory_suite_dir, clients_dir);
}

CClientApps::~CClientApps() {
  for (auto& app : in_touch_apps_) app.reset();
  in_touch_apps_.clear();
  for (auto& node : in_sql_nodes_) node.reset();
  in_sql_nodes_.clear();
}

void CClientApps::DiscoverInTouchApps(std::string_view project_dir,
                                      std::string_view factory_suite_dir,
                                      std::string_view clients_dir,
                                      std::optional<std::string_view> client_filter,
                                      std::optional<std::string_view> folder_override) {
  ProjectQuery saved = ProjectQuery::Saved("qFTInTouchAppData", nullptr, 0);
  if (!saved.ok()) {
    Report("Failed to prepare query qFTInTouchAppData", 2, 1);
    return;
  }
  ProjectQuery query = FirstAppRecord(std::move(saved));
  std::array<std::string, kAppFields.size()> fields;
  auto& [app_name, client_name, access_name, master, standby, server_app, topic] = fields;
  CInTApp* current = nullptr;
  std::string current_app, current_client;
  for (bool more = query.ok(); more; more = query.MoveNext() >= 0) {
    if (!ReadRecordFields(query, kAppFields, fields)) {
      Report("Query qFTInTouchAppData has invalid record", 2, 1);
      continue;
    }
    if (client_filter && !EqualsIgnoreCase(app_name, *client_filter)) continue;
    ProjAccName_T row{access_name, topic, master, standby, server_app};
    if (!IsRecordUsable(app_name, client_name, row)) {
      Report(StringPrintf("Invalid Access Name data : Client = %s, App = %s, AccName = %s, "
                          "MstrServer = %s, StbyServer = %s, Topic = %s",
                          app_name.c_str(), client_name.c_str(), access_name.c_str(),
                          master.c_str(), standby.c_str(), topic.c_str()),
             2, 1);
      continue;
    }
    if (current == nullptr || app_name != current_app) {
      std::unique_ptr<CInTApp> app = CInTApp::PrepareAppFolder(
          project_dir, factory_suite_dir, clients_dir, app_name, row, client_name, folder_override);
      if (app == nullptr) break;  // the applications found so far are still built
      current = app.get();
      in_touch_apps_.push_back(std::move(app));
      current_app = app_name;
      current_client = client_name;
    } else if (client_name != current_client) {
      current->AddClientApp(client_name, row);
      current_client = client_name;
    } else {
      current->AddAccessName(row);
    }
  }
  query.Release();
  ProjectTags project;  // read by the first dictionary's merge, then shared
  for (auto& app : in_touch_apps_) app->BuildApp(folder_override, project);
}

void CClientApps::DiscoverInSQLNodes(std::string_view factory_suite_dir,
                                     std::string_view clients_dir) {
  ProjectQuery query = ProjectQuery::Sql(kNodesSql, nullptr, 0);
  if (!query.ok()) {
    Report("Failed to prepare query qFTInSQLData", 2, 1);
    return;
  }
  std::array<std::string, kNodeFields.size()> fields;
  auto& [computer, access_name, master, standby, topic, server_app] = fields;
  CInSApp* current = nullptr;
  for (bool more = query.MoveNext() >= 0; more; more = query.MoveNext() >= 0) {
    if (!ReadRecordFields(query, kNodeFields, fields)) {
      Report("Query qFTInSQLData has invalid record", 2, 1);
      continue;
    }
    ProjAccName_T row{access_name, topic, master, standby, server_app};
    if (!IsRecordUsable(computer, std::nullopt, row)) {
      Report(StringPrintf("Invalid Access Name data : Client = %s, AccName = %s, MstrServer = %s, "
                          "StbyServer = %s, Topic = %s",
                          computer.c_str(), access_name.c_str(), master.c_str(), standby.c_str(),
                          topic.c_str()),
             2, 1);
      continue;
    }
    if (current == nullptr || computer != current->NodeName()) {
      in_sql_nodes_.push_back(
          std::make_unique<CInSApp>(factory_suite_dir, clients_dir, computer, row));
      current = in_sql_nodes_.back().get();
    } else {
      current->AddAccessName(row);
    }
  }
  query.Release();
  HistorianTags tags;  // read by the first node, then shared
  for (auto& node : in_sql_nodes_) node->BuildImportFile(tags);
}

}  // namespace quellor
