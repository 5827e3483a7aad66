#include "tagdll/access/linked_tables.h"

#include "base/cp1252.h"
#include "platform/env.h"
#include "platform/path_resolver.h"

namespace quellor::tagdll::access {

Result<std::unique_ptr<AccessTable>> LinkedFiles::OpenLinkedTable(const CatalogObject& link) {
  // The program's paths are Windows-1252; the catalog's text is UTF-8.
  Result<std::string> host_path = ResolvePath(Utf8ToCp1252(link.database));
  if (!host_path.ok()) return Unreachable(link, "which cannot be reached");
  Result<FileInfo> info = Env::Default().file_system().Stat(*host_path, /*follow=*/true);
  if (!info.ok() || info->type != FileType::kRegular) {
    return Unreachable(link, "which cannot be reached (" + *host_path + ")");
  }
  auto found = files_.find(*host_path);
  if (found == files_.end()) {
    Result<std::unique_ptr<AccessFile>> file = AccessFile::Open(*host_path);
    if (!file.ok()) return file.status();
    found = files_.emplace(*host_path, std::move(*file)).first;
  }
  AccessFile& file = *found->second;
  const std::string& name = link.foreign_name.empty() ? link.name : link.foreign_name;
  const CatalogObject* table = FindObject(file.objects(), name, &IsUserTable);
  if (table == nullptr) return Unreachable(link, "which has no table \"" + name + "\"");
  return file.OpenTable(*table);
}

Status LinkedFiles::Unreachable(const CatalogObject& link, const std::string& why) const {
  return AccessFileError(
      StatusCode::kNotFound, linking_file_,
      "its table \"" + link.name + "\" is linked to " + link.database + ", " + why);
}

}  // namespace quellor::tagdll::access
