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
#include "projectdb/project_query.h"
#include "report/report.h"
#include "tagbrowser/tag_brw_build.h"
#include "tagdict/project_tags.h"
#include "tagdict/tag_dict.h"

namespace quellor {
namespace {

// One "View" client's dictionary step: open (load and repair), merge, name index, close
// (header and statistics).
void BuildTagDictionary(const std::string& AppFolder, CAccNames& AccNames,
                        const ClientApp_T& client, ProjectTags& project) {
  CTagDict dict(TagDictOptions{.folder = AppFolder,
                               .Separator = "\\",
                               .access_names = &AccNames,
                               .app_access_names = client.AccNameIndices,
                               .UpdateDDEPoints = true,
                               .DiscreteAsInteger = true});
  LoadProjectTags(dict, project);
  dict.WriteNameIndex();
}

}  // namespace

void CInTApp::BuildApp(const char* FolderOverride, ProjectTags& project) {
  const std::string AppFolder = FolderOverride != nullptr ? FolderOverride : AppPath_;
  bool view_found = false;
  for (const ClientApp_T& client : *ClientList_) {
    if (EqualsIgnoreCase(client.ClientAppName, "View")) {
      view_found = true;
      BuildTagDictionary(AppFolder, *AccNames_, client, project);
    } else if (EqualsIgnoreCase(client.ClientAppName, "Recipe")) {
      AccNames_->SetAlwaysAdvise(client.AccNameIndices, 1);
    }
  }
  if (!view_found) {
    Report(StringPrintf("No View application configured for %s", InTouchAppName_.c_str()), 1, 0);
  }
  DeleteAppFile(AppFolder, "Tagname.avl");
  // Stored last, so TagBrw.DAT is written after DDE.CFG and the registration.
  TagBrwBuild tag_browser(folders_.ProjectDir, AppFolder, *AccNames_);
  WriteDDECfgFile(*AccNames_, AppFolder);
  if (FolderOverride == nullptr) RegisterInAppList(AppPath_);
  tag_browser.Store();
  folder_lock_.reset();
}

}  // namespace quellor
