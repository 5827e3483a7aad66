// The tag sections of the import file: each logged tag row of the project, converted and
// written under the section its rendered type gives it.
#pragma once

#include <string>
#include <string_view>

#include "projectdb/project_query.h"

namespace quellor {

// One usable row of the node's tag query.
struct ImportTag {
  std::string tag_name;   // the historian tag name (block tags: TAG\FIELD\SUBFIELD)
  std::string item_name;  // the I/O item (block tags: TAG.FIELD.SUBFIELD)
  int fld_rendered_type = 0;
  std::string full_desc;
  std::string units;
  double hi_range = 0;
  double lo_range = 0;
};

// The tag a row of the query gives, or false when the row is skipped (a row without columns
// too): no tag name, record type or rendered type, or a record type other
// than "BlkTag" and "FldTag". A value that is NULL, empty or not convertible counts as missing;
// a missing range is 0.
bool ReadImportTag(const ProjectRow& row, ImportTag& tag);

// Writes the tag's lines into `import_file`, with the section headers its type needs after a
// tag of type `previous_type`, and returns the type the next tag follows.
int WriteImportTag(std::string& import_file, const ImportTag& tag, std::string_view node_name,
                   int previous_type);

// A value as the file carries it: a TAB, CR or LF becomes one blank, so that no value breaks
// the file's rows or columns.
std::string ImportValue(std::string_view value);

}  // namespace quellor
