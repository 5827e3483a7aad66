#include "historian/import_file.h"

#include "base/format.h"
#include "historian/historian_tags.h"
#include "historian/import_tags.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "report/failure_reason.h"
#include "report/report.h"

namespace quellor {
namespace {

// The fixed blocks: the mode, the node's I/O server and its one topic.
void WriteFixedBlocks(std::string& import_file, const std::string& node) {
  WriteImportLine(import_file, ":(Mode)update");
  WriteImportLine(import_file,
                  ":(IOServer)ComputerName\tApplicationName\tAltComputerName\tIDASComputerName\t"
                  "ProtocolType");
  WriteImportLine(import_file, StringPrintf("%s\tPelnetData\t\t$local\tSuiteLink", node.c_str()));
  WriteImportLine(import_file,
                  ":(Topic)Name\tApplicationName\tComputerName\tTimeOut\tLateData\tIdleDuration\t"
                  "ProcessingInterval");
  WriteImportLine(import_file,
                  StringPrintf("InSQL\tPelnetData\t%s\t60000\tNo\t60\t120", node.c_str()));
}

// The tag sections, in the query's order.
void WriteTagSections(std::string& import_file, std::string_view node_name,
                      std::span<const ImportTag> tags) {
  int previous_type = 0;
  for (const ImportTag& tag : tags) {
    previous_type = WriteImportTag(import_file, tag, node_name, previous_type);
  }
}

}  // namespace

std::string BuildImportFile(std::string_view factory_suite_dir, std::string_view clients_dir,
                            std::string_view node_name) {
  HistorianTags tags;
  return BuildImportFile(factory_suite_dir, clients_dir, node_name, tags);
}

std::string BuildImportFile(std::string_view factory_suite_dir, std::string_view clients_dir,
                            std::string_view node_name, HistorianTags& tags) {
  const std::string node(node_name);
  Report(StringPrintf("Creating CSV import file for InSQL node %s", node.c_str()), 0, 0);
  // The folders usually exist; one that cannot be made shows when the file is written.
  const std::string nodes_dir = std::string(clients_dir) + "\\InSApps";
  (void)MakeDirectory(factory_suite_dir);
  (void)MakeDirectory(clients_dir);
  (void)MakeDirectory(nodes_dir);
  const std::string node_folder = nodes_dir + "\\" + node;
  (void)MakeDirectory(node_folder);
  WriteImportFile(node_folder, node_name, tags);
  return node_folder;
}

void WriteImportFile(std::string_view node_folder, std::string_view node_name) {
  HistorianTags tags;
  WriteImportFile(node_folder, node_name, tags);
}

void WriteImportFile(std::string_view node_folder, std::string_view node_name,
                     HistorianTags& tags) {
  const std::string path = std::string(node_folder) + "\\TagImport.txt";
  std::string import_file;
  WriteFixedBlocks(import_file, ImportValue(node_name));
  // Without its tags the file would tell the historian that the node has none: the old file
  // stays, and none is written where there was none.
  const std::optional<std::span<const ImportTag>> node_tags = tags.TagsOf(node_name);
  if (!node_tags) {
    Report("Failed to prepare query qFTTrdData", 2, 1);
    return;
  }
  WriteTagSections(import_file, node_name, *node_tags);
  if (const Status replaced = ReplaceFileAtomically(path, import_file); !replaced.ok()) {
    ReportFileFailure("Failed to create file %s", path, replaced);
  }
}

void WriteImportLine(std::string& import_file, std::string_view text) {
  import_file.append(text).append("\r\n");
}

}  // namespace quellor
