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
#include "platform/prefix.h"
#include "platform/profile.h"
#include "projectdb/project_query.h"
#include "report/failure_reason.h"
#include "report/report.h"
#include "report/report_channel.h"
#include "run/run_state.h"

namespace quellor {
namespace {

// Lines that end the run before anything else happens.
bool EndsAtOnce(const std::string& line) {
  return line.empty() || line == "/REGSERVER" || line == "/UNREGSERVER";
}

// A machine folder that does not exist leaves the registry empty and no drive mapped; the build
// goes on, and standard error says where the machine was looked for.
void NoteMissingMachine() {
  const PrefixLocation prefix = LocatePrefix();
  if (!prefix.dir.empty()) {
    const Result<FileInfo> info = Env::Default().file_system().Stat(prefix.dir, /*follow=*/true);
    if (info.ok() && info->type == FileType::kDirectory) return;
  }
  const std::string dir = Utf8ToCp1252(prefix.dir);
  std::string where;
  switch (prefix.chosen_by) {
    case PrefixChoice::kNone:
      where = "no machine folder (neither QUELLOR_PREFIX nor HOME is set)";
      break;
    case PrefixChoice::kQuellorPrefix:
      where = "the machine folder " + dir + " (QUELLOR_PREFIX) does not exist";
      break;
    case PrefixChoice::kHome:
      where = "the machine folder " + dir +
              " ($HOME/.quellor, as QUELLOR_PREFIX is not set) "
              "does not exist";
      break;
  }
  ExplainOnStandardError("quellor: " + where +
                         ": no registry, no drive letters; quellor-prefix create makes one");
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
    if (!TagDll().load_failure().empty()) {
      ExplainOnStandardError("quellor: the project-database library cannot be used: " +
                             Utf8ToCp1252(TagDll().load_failure()));
    }
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

void ResetRunState(std::string library_name, DatabaseChanges changes) {
  TheRunState() = RunState();
  ResetReportChannel();
  ResetTagDll(std::move(library_name), changes);
  Env::Default().Reset();
}

int RunBuild(std::string_view command_line_tail, std::string library_name,
             DatabaseChanges changes) {
  ResetRunState(std::move(library_name), changes);
  std::string& line = TheRunState().g_CmdLine;
  line = ToUpperAscii(TrimAscii(command_line_tail));
  if (EndsAtOnce(line)) return 0;
  NoteMissingMachine();

  // A non-empty line always gives at least one field.
  const auto fields = std::make_unique<const CSVLine>(line, ListSeparator());
  OpenReportChannel((*fields)[0]);
  BuildProject(*fields);
  CloseReportChannel();
  return 0;
}

}  // namespace quellor
