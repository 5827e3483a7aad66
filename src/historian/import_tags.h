// The tag sections of the import file: each logged tag row of the project, converted and
// written under the section its rendered type gives it.
#pragma once

#include <string>
#include <string_view>

#include "projectdb/project_query.h"

namespace quellor {

// One usable row of the node's tag query.
struct ImportTag_T {
  std::string TagName;   // the historian tag name (block tags: TAG\FIELD\SUBFIELD)
  std::string ItemName;  // the I/O item (block tags: TAG.FIELD.SUBFIELD)
  int FldRenderedType = 0;
  std::string FullDesc;
  std::string Units;
  double HiRange = 0;
  double LoRange = 0;
};

// The tag a row of the query gives, or false when the row is skipped (a row without columns
// too): no tag name, record type or rendered type, or a record type other
// than "BlkTag" and "FldTag". A value that is NULL, empty or not convertible counts as missing;
// a missing range is 0.
bool ReadImportTag(const ProjectRow& row, ImportTag_T& tag);

// Writes the tag's lines into `ImportFile`, with the section headers its type needs after a
// tag of type `previous_type`, and returns the type the next tag follows.
int WriteImportTag(std::string& ImportFile, const ImportTag_T& tag, std::string_view NodeName,
                   int previous_type);

// A value as the file carries it: a TAB, CR or LF becomes one blank, so that no value breaks
// the file's rows or columns.
std::string ImportValue(std::string_view value);

}  // namespace quellor
