#include "historian/import_file.h"

#include "base/format.h"
#include "historian/import_tags.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "projectdb/project_query.h"
#include "report/report.h"

namespace quellor {
namespace {

constexpr char kTagsSelect[] =
    "SELECT qFTTrdData.TagName, qFTTrdData.FieldName, qFTTrdData.SubfieldName, "
    "qFTTrdData.RecordType, qFTTrdData.FldRenderedType, qFTTrdData.FullDesc, qFTTrdData.Units, "
    "qFTTrdData.HiRange, qFTTrdData.LoRange";
constexpr char kTagsFrom[] =
    "FROM ServerComputerPorts INNER JOIN ((PelnetNodes INNER JOIN (Blocks INNER JOIN "
    "(qFTTrdData INNER JOIN Tags ON qFTTrdData.TagName = Tags.TagName) ON Blocks.BlockId = "
    "Tags.BlockId) ON PelnetNodes.NodeName = Blocks.NodeName) INNER JOIN "
    "ServerComputerPortToNodes ON PelnetNodes.NodeName = ServerComputerPortToNodes.NodeName) ON "
    "ServerComputerPorts.ServerComputerPortID = ServerComputerPortToNodes.ServerComputerPortID";
constexpr char kTagsWhere[] =
    "WHERE (((qFTTrdData.Logged)=True) AND ((ServerComputerPorts.ServerComputerName)=";
constexpr char kTagsOrder[] = "ORDER BY qFTTrdData.FldRenderedType";

std::string TagsSql(std::string_view NodeName) {
  return std::string(kTagsSelect) + " " + kTagsFrom + " " + kTagsWhere +
         AccessStringLiteral(NodeName) + "))" + " " + kTagsOrder;
}

// The fixed blocks: the mode, the node's I/O server and its one topic.
void WriteFixedBlocks(std::string& ImportFile, const std::string& node) {
  WriteImportLine(ImportFile, ":(Mode)update");
  WriteImportLine(ImportFile,
                  ":(IOServer)ComputerName\tApplicationName\tAltComputerName\tIDASComputerName\t"
                  "ProtocolType");
  WriteImportLine(ImportFile, StringPrintf("%s\tPelnetData\t\t$local\tSuiteLink", node.c_str()));
  WriteImportLine(ImportFile,
                  ":(Topic)Name\tApplicationName\tComputerName\tTimeOut\tLateData\tIdleDuration\t"
                  "ProcessingInterval");
  WriteImportLine(ImportFile,
                  StringPrintf("InSQL\tPelnetData\t%s\t60000\tNo\t60\t120", node.c_str()));
}

// The tag sections, in the query's order; a query that cannot be prepared adds nothing.
void WriteTagSections(std::string& ImportFile, std::string_view NodeName) {
  QueryParameters parameters(2);
  VariantSetBool(parameters.at(0), true);
  VariantSetBool(parameters.at(1), false);
  const std::string sql = TagsSql(NodeName);
  ProjectQuery query = ProjectQuery::Sql(sql.c_str(), parameters.get(), 0);
  if (!query.ok()) return;
  int previous_type = 0;
  while (const std::optional<ProjectRow> row = query.NextRow()) {
    ImportTag_T tag;
    if (ReadImportTag(*row, tag)) {
      previous_type = WriteImportTag(ImportFile, tag, NodeName, previous_type);
    }
  }
}

}  // namespace

void BuildImportFile(std::string_view FactorySuiteDir, std::string_view ClientsDir,
                     std::string_view NodeName, std::string& NodeFolder) {
  const std::string node(NodeName);
  Report(StringPrintf("Creating CSV import file for InSQL node %s", node.c_str()), 0, 0);
  // The folders usually exist; one that cannot be made shows when the file is written.
  const std::string nodes_dir = std::string(ClientsDir) + "\\InSApps";
  (void)MakeDirectory(FactorySuiteDir);
  (void)MakeDirectory(ClientsDir);
  (void)MakeDirectory(nodes_dir);
  NodeFolder = nodes_dir + "\\" + node;
  (void)MakeDirectory(NodeFolder);
  WriteImportFile(NodeFolder, NodeName);
}

void WriteImportFile(std::string_view NodeFolder, std::string_view NodeName) {
  const std::string path = std::string(NodeFolder) + "\\TagImport.txt";
  std::string ImportFile;
  WriteFixedBlocks(ImportFile, ImportValue(NodeName));
  WriteTagSections(ImportFile, NodeName);
  if (!ReplaceFileAtomically(path, ImportFile).ok()) {
    Report(StringPrintf("Failed to create file %s", path.c_str()), 2, 1);
  }
}

void WriteImportLine(std::string& ImportFile, std::string_view text) {
  ImportFile.append(text).append("\r\n");
}

}  // namespace quellor
