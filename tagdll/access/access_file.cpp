#include "tagdll/access/access_file.h"

#include <utility>

namespace quellor::tagdll::access {
namespace {

bool IsTable(const CatalogObject& object) { return object.type == 1; }

}  // namespace

AccessFile::AccessFile(std::string path, const AccessHeader& header, MdbHandlePtr library)
    : path_(std::move(path)),
      header_(header),
      library_(std::move(library)),
      text_(header.format, header.code_page, library_.get()) {}

Result<std::unique_ptr<AccessFile>> AccessFile::Open(const std::string& host_path) {
  Result<AccessHeader> header = ReadAccessHeader(host_path);
  if (!header.ok()) return header.status();
  // Read-only: the library opens the file with fopen's "r".
  MdbHandlePtr library(mdb_open(host_path.c_str(), MDB_NOFLAGS));
  if (library == nullptr) {
    return AccessFileError(StatusCode::kCorruption, host_path, "its first page is damaged");
  }
  std::unique_ptr<AccessFile> file(new AccessFile(host_path, *header, std::move(library)));
  Result<std::vector<CatalogObject>> objects = ReadCatalog(*file);
  if (!objects.ok()) return objects.status();
  file->objects_ = std::move(*objects);
  return file;
}

Result<std::unique_ptr<AccessTable>> AccessFile::OpenTable(const CatalogObject& object) {
  return AccessTable::Open(*this, object.name, DefinitionPage(object));
}

Result<std::unique_ptr<AccessTable>> AccessFile::OpenSystemTable(const std::string& name) {
  const CatalogObject* object = FindObject(objects_, name, &IsTable);
  if (object == nullptr) return std::unique_ptr<AccessTable>();
  return OpenTable(*object);
}

Status AccessFile::Damaged(const std::string& reason) const {
  return AccessFileError(StatusCode::kCorruption, path_, reason);
}

}  // namespace quellor::tagdll::access
