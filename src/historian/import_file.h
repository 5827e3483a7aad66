// The tag import file of a historian node, TagImport.txt in the node's folder: the node's I/O
// server, its topic and one historian tag for every logged tag served from the node's
// computer, in the historian's tab-separated import format (docs/formats/TagImport.txt.md).
#pragma once

#include <string>
#include <string_view>

namespace quellor {

// Reports the node, creates FactorySuiteDir, ClientsDir, ClientsDir\InSApps and its folder
// NodeName where missing (failures ignored), sets NodeFolder to the last, and writes the file.
void BuildImportFile(std::string_view FactorySuiteDir, std::string_view ClientsDir,
                     std::string_view NodeName, std::string& NodeFolder);

// Writes NodeFolder\TagImport.txt anew from the project, replacing the old file in one step.
// A file that cannot be written is reported ("Failed to create file %s") and the old one kept.
void WriteImportFile(std::string_view NodeFolder, std::string_view NodeName);

// Appends one line of the file to `ImportFile`: the text and a CR LF line end.
void WriteImportLine(std::string& ImportFile, std::string_view text);

}  // namespace quellor
