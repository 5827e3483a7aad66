// The tag import file of a historian node, TagImport.txt in the node's folder: the node's I/O
// server, its topic and one historian tag for every logged tag served from the node's
// computer, in the historian's tab-separated import format (docs/formats/TagImport.txt.md).
#pragma once

#include <string>
#include <string_view>

namespace quellor {

class HistorianTags;

// Reports the node, creates the factory-suite folder, the clients folder, its InSApps folder
// and in it the node's folder `node_name` where missing (failures ignored), writes the file
// there, and returns that folder (the node's NodeFolder). `tags` is shared by the nodes of one
// build; without it the rows are read for this node alone.
std::string BuildImportFile(std::string_view factory_suite_dir, std::string_view clients_dir,
                            std::string_view node_name, HistorianTags& tags);
std::string BuildImportFile(std::string_view factory_suite_dir, std::string_view clients_dir,
                            std::string_view node_name);

// Writes `node_folder`\TagImport.txt anew from the project, replacing the old file in one
// step. A file that cannot be written is reported ("Failed to create file %s") and the old one
// kept; so is the file when the tag query cannot be prepared ("Failed to prepare query
// qFTTrdData").
void WriteImportFile(std::string_view node_folder, std::string_view node_name, HistorianTags& tags);
void WriteImportFile(std::string_view node_folder, std::string_view node_name);

// Appends one line of the file to `import_file`: the text and a CR LF line end.
void WriteImportLine(std::string& import_file, std::string_view text);

}  // namespace quellor
