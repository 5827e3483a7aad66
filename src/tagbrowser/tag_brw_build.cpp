#include "tagbrowser/tag_brw_build.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "base/format.h"
#include "platform/atomic_file.h"
#include "platform/automation/conversions.h"
#include "platform/env.h"
#include "platform/files.h"
#include "platform/path_resolver.h"
#include "projectdb/project_query.h"
#include "report/message_box.h"
#include "report/report.h"
#include "tagbrowser/project_filters.h"
#include "tagbrowser/project_remote_apps.h"

namespace quellor {
namespace {

// A value of a filter row, when it is there and is text (a NULL is not).
std::optional<std::string> TextValue(const ProjectRow& row, std::size_t index) {
  const VARIANT* value = row.Column(index);
  if (value == nullptr || value->vt != VT_BSTR) return std::nullopt;
  return std::string(VariantTextView(*value));
}

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The program's open for reading: exclusive (a file another build holds is refused), read
// access only, so a read-only file is read as well.
Result<std::unique_ptr<File>> OpenForReading(std::string_view windows_path) {
  Result<std::string> host = ResolvePath(windows_path);
  if (!host.ok()) return host.status();
  OpenOptions options;
  options.access = FileAccess::kRead;
  options.creation = FileCreation::kOpenExisting;
  options.lock = FileLock::kExclusiveNoWait;
  return Env::Default().file_system().Open(*host, options);
}

std::vector<ProjectAccessName> AccessNamesOf(const CAccNames& access_names) {
  std::vector<ProjectAccessName> names;
  for (int i = 0; i < access_names.GetCount(); ++i) {
    names.push_back({access_names.GetSourceName(i), access_names.GetTopicName(i),
                     access_names.GetApplicationName(i)});
  }
  return names;
}

}  // namespace

std::string TagBrwPath(std::string_view app_folder) {
  return std::string(app_folder) + "\\" + std::string(kTagBrwFileName);
}

void LoadProjectFilterNames(CTagBrw& model) {
  model.ProjectFilterNames.clear();
  const std::string query_name(kFilterQueryName);
  ProjectQuery query = ProjectQuery::Saved(query_name.c_str(), nullptr, 0);
  if (!query.ok()) {
    Report(StringPrintf("Failed to prepare query %s", query_name.c_str()), 2, 1);
    return;
  }
  std::vector<FilterRow> rows;
  while (const std::optional<ProjectRow> row = query.NextRow()) {
    if (!row->has_columns()) continue;
    rows.push_back({TextValue(*row, 0), TextValue(*row, 1)});
  }
  model.ProjectFilterNames = FilterNamesFromRows(rows);
}

TagBrwBuild::TagBrwBuild(std::string_view project_dir, std::string_view app_folder,
                         const CAccNames& access_names) {
  LoadProjectFilterNames(model_);
  model_.FilePath = TagBrwPath(app_folder);
  LoadFile();
  MergeProjectRemoteApps(model_, project_dir, AccessNamesOf(access_names));
  MergeProjectFilters(model_);
}

void TagBrwBuild::LoadFile() {
  auto file = OpenForReading(model_.FilePath);
  if (!file.ok() && file.status().code() == StatusCode::kNotFound) return;
  Result<std::string> bytes = file.ok() ? ReadAll(**file) : Result<std::string>(file.status());
  if (!bytes.ok()) {
    // Held by another build, no permission, or unreadable: the same box as a damaged file.
    ShowMessageBox(kTagBrwLoadFailedText);
    return;
  }
  loaded_whole_ = model_.Load(AsBytes(*bytes)).ok();
}

void TagBrwBuild::Store() {
  if (!loaded_whole_) return;
  // The program's open for writing decides whether the file is written at all; it is
  // released before the replacement takes its own lock.
  if (!OpenExclusive(model_.FilePath, ExclusiveCreation::kOpenExisting).ok()) return;
  const std::vector<std::uint8_t> bytes = model_.Store();
  const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  ReplaceOptions options;
  options.create_if_missing = false;
  if (!ReplaceFileAtomically(model_.FilePath, content, options).ok()) {
    ShowMessageBox(kTagBrwStoreFailedText);
    return;
  }
  Report(StringPrintf("        Created file %s", model_.FilePath.c_str()), 0, 0);
}

}  // namespace quellor
