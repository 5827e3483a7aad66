// An Access file open for reading through mdbtools' library: its header checked first, its
// catalog read. The file is opened read-only and never written.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/status.h"
#include "tagdll/access/access_header.h"
#include "tagdll/access/access_table.h"
#include "tagdll/access/access_text.h"
#include "tagdll/access/catalog.h"
#include "tagdll/access/mdb_library.h"

namespace quellor::tagdll::access {

class AccessFile final {
 public:
  // Failures are one line each: "the Access file PATH cannot be read: REASON".
  static Result<std::unique_ptr<AccessFile>> Open(const std::string& host_path);

  const std::string& path() const { return path_; }
  const AccessHeader& header() const { return header_; }
  const TextDecoder& text() const { return text_; }
  MdbHandle* library() const { return library_.get(); }
  const std::vector<CatalogObject>& objects() const { return objects_; }

  // The table of a catalog object (a table of this file).
  Result<std::unique_ptr<AccessTable>> OpenTable(const CatalogObject& object);
  // A system table by name, such as "MSysQueries"; nullptr when the file has none.
  Result<std::unique_ptr<AccessTable>> OpenSystemTable(const std::string& name);

  // A failure naming this file: "the Access file PATH cannot be read: REASON".
  Status Damaged(const std::string& reason) const;

 private:
  AccessFile(std::string path, const AccessHeader& header, MdbHandlePtr library);

  std::string path_;
  AccessHeader header_;
  MdbHandlePtr library_;
  TextDecoder text_;
  std::vector<CatalogObject> objects_;
};

}  // namespace quellor::tagdll::access
