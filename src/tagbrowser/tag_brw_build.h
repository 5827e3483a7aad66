// The tag-browser data of one HMI application's build: TagBrw.DAT brought up to date with the
// project's filters and the application's "PelnetData" access names, then stored back.
//
// How the application build uses it, after the tag dictionary step:
//
//   TagBrwBuild tag_browser(project_dir, app_folder, access_names);  // reads and merges
//   ... DDE.CFG, the application list ...
//   tag_browser.Store();                                           // the last step
//
// The file is only ever updated, never created, and never rewritten unless it was read whole:
// a file another build holds, one without permission and a damaged one keep their bytes, so
// what users added in the tag browser after the damage is not lost. The replacement is atomic.
#pragma once

#include <string>
#include <string_view>

#include "accessnames/acc_names.h"
#include "tagbrowser/tag_brw.h"

namespace quellor {

inline constexpr std::string_view kTagBrwFileName = "TagBrw.DAT";

// The full path of an application folder's TagBrw.DAT, as messages show it.
std::string TagBrwPath(std::string_view app_folder);

// Fills model.ProjectFilterNames from the project query "qFTFilter" through the run's
// binding. A query that cannot be prepared is reported ("Failed to prepare query qFTFilter",
// error, flag 1) and gives no names; rows that are not arrays of values are skipped silently;
// a row whose group or member is missing or not text is reported and skipped.
void LoadProjectFilterNames(CTagBrw& model);

class TagBrwBuild final {
 public:
  // Reads the project's filter names, loads `app_folder`\TagBrw.DAT when it exists, then
  // merges the remote application of each qualifying access name (in the set's order) and
  // the filter of each project filter name. A missing file is silent. A file that exists but
  // cannot be opened or read whole shows the "Failed to load TagBrw.dat" box line and will
  // not be stored. Needs the run's binding attached to the project.
  TagBrwBuild(std::string_view project_dir, std::string_view app_folder,
              const CAccNames& access_names);
  TagBrwBuild(const TagBrwBuild&) = delete;
  TagBrwBuild& operator=(const TagBrwBuild&) = delete;

  // Replaces the file with the model when it was loaded whole and can still be opened for
  // writing, then reports "        Created file %s". A file that cannot be opened for writing
  // is left alone silently; a write that fails after the open shows the "Failed to store
  // TagBrw.dat" box line and keeps the old file. Storing twice writes twice.
  void Store();

  const CTagBrw& model() const { return model_; }
  // Whether Store() may replace the file: it existed and was loaded whole.
  bool loaded_whole() const { return loaded_whole_; }

 private:
  void LoadFile();

  CTagBrw model_;
  bool loaded_whole_ = false;
};

}  // namespace quellor
