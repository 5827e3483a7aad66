#include "driver/build_driver.h"

#include <memory>
#include <optional>
#include <utility>

#include "apps/client_apps.h"
#include "base/ascii.h"
#include "base/cp1252.h"
#include "driver/csv_line.h"
#include "driver/project_flags.h"
#include "driver/project_paths.h"
#include "platform/env.h"
#include "platform/locale.h"
#include "platform/profile.h"
#include "projectdb/project_query.h"
#include "report/report.h"
#include "report/report_channel.h"
#include "run/run_state.h"

namespace quellor {
namespace {

// Lines that end the run before anything else happens.
bool EndsAtOnce(const std::string& line) {
  return line.empty() || line == "/REGSERVER" || line == "/UNREGSERVER";
}

// ufolder.ini, section "Project": "ManagedApps" exactly "1" means the HMI applications are
// published elsewhere.
void ReadManagedApps(const std::string& settings_file) {
  const std::string value =
      GetPrivateProfileString("Project", "ManagedApps", "0", 255, settings_file);
  if (value == "1") TheRunState().g_ManagedApps = 1;
}

// The client build, between the gate and the release. Fields 1 and 2 name one application
// and its folder only when the line has exactly three fields.
void BuildClientApps(const CSVLine& fields, const ProjectPaths& paths) {
  std::optional<std::string_view> client_filter;
  std::optional<std::string_view> folder_override;
  if (fields.size() == 3) {
    client_filter = fields[1];
    folder_override = fields[2];
  }
  const CClientApps apps(paths.project_dir, paths.factory_suite_dir, paths.clients_dir,
                         client_filter, folder_override);
}

// Everything between opening and closing the report channel.
void BuildProject(const CSVLine& fields) {
  Report(CmdLine(), 0, 0);
  Report("Quellor - Quellorant", 0, 0);
  const ProjectPaths paths = DeriveProjectPaths(fields[0]);
  if (fields.size() == 1) ReadManagedApps(paths.settings_file);
  if (TagDll().AttachProjectDb(paths.database_path.c_str()) < 0) {
    // The library is not loaded, so there is nothing to release.
    Report("Failed to attach to db", 2, 1);
    return;
  }
  if (CheckProjectFlags()) BuildClientApps(fields, paths);
  TagDll().ReleaseProjectDb();
}

}  // namespace

std::string CommandLineTail(std::span<const std::string> words) {
  std::string tail;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) tail += ' ';
    tail += words[i];
  }
  return Utf8ToCp1252(tail);
}

void ResetRunState(std::string library_name) {
  TheRunState() = RunState();
  ResetReportChannel();
  ResetTagDll(std::move(library_name));
  Env::Default().Reset();
}

int RunBuild(std::string_view command_line_tail, std::string library_name) {
  ResetRunState(std::move(library_name));
  std::string& line = TheRunState().g_CmdLine;
  line = ToUpperAscii(TrimAscii(command_line_tail));
  if (EndsAtOnce(line)) return 0;

  // A non-empty line always gives at least one field.
  const auto fields = std::make_unique<const CSVLine>(line, ListSeparator());
  OpenReportChannel((*fields)[0]);
  BuildProject(*fields);
  CloseReportChannel();
  return 0;
}

}  // namespace quellor
