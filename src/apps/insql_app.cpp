#include "apps/insql_app.h"

#include "historian/import_file.h"

namespace quellor {

CInSApp::CInSApp(std::string_view FactorySuiteDir, std::string_view ClientsDir,
                 std::string_view NodeName, ProjAccName_T& row)
    : folders_{"", std::string(FactorySuiteDir), std::string(ClientsDir), ""}, NodeName_(NodeName) {
  int index = 0;
  AccNames_ = CAccNames(row, index);
  AccNameIndices_.push_back(index);
  listed_.insert(index);
}

void CInSApp::AddAccessName(ProjAccName_T& row) {
  int index = 0;
  AccNames_.MergeAccessName(row, index);
  if (listed_.insert(index).second) AccNameIndices_.push_back(index);
}

void CInSApp::BuildImportFile() {
  quellor::BuildImportFile(folders_.FactorySuiteDir, folders_.ClientsDir, NodeName_, NodeFolder_);
}

}  // namespace quellor
