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

class HistorianTags;

class CInSApp final {
 public:
  // A node whose set starts with `row`.
  CInSApp(std::string_view factory_suite_dir, std::string_view clients_dir,
          std::string_view node_name, ProjAccName_T& row);
  CInSApp(const CInSApp&) = delete;
  CInSApp& operator=(const CInSApp&) = delete;

  // Merges `row` and lists it unless it is listed already.
  void AddAccessName(ProjAccName_T& row);
  // Writes the node's import file (the folders first) from the build's shared historian rows.
  void BuildImportFile(HistorianTags& tags);

  const CClientFolders& folders() const { return folders_; }
  const std::string& NodeName() const { return node_name_; }
  // Empty until the import file is built.
  const std::string& NodeFolder() const { return node_folder_; }
  const CAccNames& AccNames() const { return acc_names_; }
  const std::vector<int>& AccNameIndices() const { return acc_name_indices_; }

 private:
  CClientFolders folders_;
  std::string node_name_;
  CAccNames acc_names_;
  std::vector<int> acc_name_indices_;
  std::unordered_set<int> listed_;
  std::string node_folder_;
};

}  // namespace quellor
