#include "apps/insql_app.h"

#include "historian/import_file.h"

namespace quellor {

CInSApp::CInSApp(std::string_view factory_suite_dir, std::string_view clients_dir,
                 std::string_view node_name, ProjAccName_T& row)
    : folders_{"", std::string(factory_suite_dir), std::string(clients_dir), ""},
      node_name_(node_name) {
  int index = 0;
  acc_names_ = CAccNames(row, index);
  acc_name_indices_.push_back(index);
  listed_.insert(index);
}

void CInSApp::AddAccessName(ProjAccName_T& row) {
  int index = 0;
  acc_names_.MergeAccessName(row, index);
  if (listed_.insert(index).second) acc_name_indices_.push_back(index);
}

void CInSApp::BuildImportFile(HistorianTags& tags) {
  node_folder_ =
      quellor::BuildImportFile(folders_.FactorySuiteDir, folders_.ClientsDir, node_name_, tags);
}

}  // namespace quellor
