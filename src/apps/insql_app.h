// CInSApp: one historian node of the project, a computer that serves "PelnetData" access
// names. Its only output is the node's tag import file (historian/import_file.h).
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "accessnames/acc_names.h"
#include "apps/client_folders.h"

namespace quellor {

class CInSApp final {
 public:
  // A node whose set starts with `row`.
  CInSApp(std::string_view FactorySuiteDir, std::string_view ClientsDir, std::string_view NodeName,
          ProjAccName_T& row);
  CInSApp(const CInSApp&) = delete;
  CInSApp& operator=(const CInSApp&) = delete;

  // Merges `row` and lists it unless it is listed already.
  void AddAccessName(ProjAccName_T& row);
  // Writes the node's import file (the folders first).
  void BuildImportFile();

  const CClientFolders& folders() const { return folders_; }
  const std::string& NodeName() const { return NodeName_; }
  const std::string& NodeFolder() const { return NodeFolder_; }
  const CAccNames& AccNames() const { return AccNames_; }
  const std::vector<int>& AccNameIndices() const { return AccNameIndices_; }

 private:
  CClientFolders folders_;
  std::string NodeName_;
  CAccNames AccNames_;
  std::vector<int> AccNameIndices_;
  std::unordered_set<int> listed_;
  std::string NodeFolder_;
};

}  // namespace quellor
