// Tables an Access file links from other Access files. A link names its file as the machine
// that made it did ("C:\Plant\Data.mdb"); that path is resolved by this machine's rules
// (platform/path_resolver.h: drive letters are links under the prefix, QUELLOR_PREFIX), and
// each linked file is opened once, read-only, with the same checks as the file itself.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "base/status.h"
#include "tagdll/access/access_file.h"

namespace quellor::tagdll::access {

class LinkedFiles final {
 public:
  // `linking_file` names the file whose links these are, for messages.
  explicit LinkedFiles(std::string linking_file) : linking_file_(std::move(linking_file)) {}

  // The table `link` (a linked-table object of the linking file's catalog) stands for. Fails
  // naming the table and the path when the file cannot be reached or lacks the table; a
  // linked file that cannot be read fails with its own message.
  Result<std::unique_ptr<AccessTable>> OpenLinkedTable(const CatalogObject& link);

 private:
  Status Unreachable(const CatalogObject& link, const std::string& why) const;

  std::string linking_file_;
  std::map<std::string, std::unique_ptr<AccessFile>> files_;  // by host path
};

}  // namespace quellor::tagdll::access
