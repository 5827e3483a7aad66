// BuildApp: the fixed order in which one prepared HMI application's outputs are produced.
// Each step reports its own failures and the sequence always runs to its end; only an
// old-format tag dictionary ends the process (inside the dictionary's open).
#include <string>

#include "accessnames/dde_cfg_file.h"
#include "apps/app_files.h"
#include "apps/app_list.h"
#include "apps/intouch_app.h"
#include "base/ascii.h"
#include "base/format.h"
#include "report/report.h"
#include "tagbrowser/tag_brw_build.h"
#include "tagdict/project_tags.h"
#include "tagdict/tag_dict.h"

namespace quellor {
namespace {

// One "View" client's dictionary step: open (load and repair), merge, name index, close
// (header and statistics).
void BuildTagDictionary(const std::string& app_folder, CAccNames& access_names,
                        const ClientApp_T& client, ProjectTags& project) {
  CTagDict dict(TagDictOptions{.folder = app_folder,
                               .separator = "\\",
                               .access_names = &access_names,
                               .app_access_names = client.AccNameIndices,
                               .update_dde_points = true,
                               .discrete_as_integer = true,
                               .expected_rows = project.Rows().size()});
  LoadProjectTags(dict, project);
  dict.WriteNameIndex();
}

}  // namespace

void CInTApp::BuildApp(std::optional<std::string_view> folder_override, ProjectTags& project) {
  const std::string app_folder = folder_override ? std::string(*folder_override) : app_path_;
  bool view_found = false;
  for (const ClientApp_T& client : client_list_) {
    if (EqualsIgnoreCase(client.ClientAppName, "View")) {
      view_found = true;
      BuildTagDictionary(app_folder, acc_names_, client, project);
    } else if (EqualsIgnoreCase(client.ClientAppName, "Recipe")) {
      acc_names_.SetAlwaysAdvise(client.AccNameIndices, 1);
    }
  }
  if (!view_found) {
    Report(StringPrintf("No View application configured for %s", in_touch_app_name_.c_str()), 1, 0);
  }
  DeleteAppFile(app_folder, "Tagname.avl");
  // Stored last, so TagBrw.DAT is written after DDE.CFG and the registration.
  TagBrwBuild tag_browser(folders_.ProjectDir, app_folder, acc_names_);
  WriteDDECfgFile(acc_names_, app_folder);
  if (!folder_override) RegisterInAppList(app_path_);
  tag_browser.Store();
  folder_lock_.reset();
}

}  // namespace quellor
