// ProjTag_T: one row of the project's trend query (qFTTrdData), parsed by column position into
// the path of one project tag (tag, field, subfield, fixed field) with its type codes, texts,
// range and logged flag.
#pragma once

#include <cstdint>
#include <string>

#include "projectdb/project_query.h"

namespace quellor {

// The row's RecordType, as a kind.
enum ProjTagKind : std::int32_t {
  kKindNone = 0,       // empty, NULL or unknown
  kKindBlkTag = 1,     // "BlkTag": a block whose fields become members of a group
  kKindFldTag = 2,     // "FldTag"
  kKindFixFldTag = 3,  // "FixFldTag"
  kKindTagFixFld = 4,  // "TagFixFld"
};

struct ProjTag_T {
  std::int32_t kind = kKindNone;
  std::string TagName;       // trimmed
  std::string FieldName;     // trimmed
  std::string SubfieldName;  // trimmed
  std::string FixFldName;    // trimmed
  std::int16_t FldRenderedType = 0;
  std::int16_t FixFldRenderedType = 0;
  std::string FullDesc;  // as delivered, blanks kept
  std::string Units;     // as delivered, blanks kept
  double HiRange = 0.0;
  double LoRange = 0.0;
  std::int16_t Logged = 0;  // bit 0: historical logging on
};

// Fills `tag` from one row of the trend query, column by column (0 to 11). True when all twelve
// columns were read; callers use what was filled either way. A row without columns leaves
// `tag` untouched; otherwise `tag` is reset first. An empty or NULL value, and a value that
// cannot be converted to its column's type (a text in a range column), keeps the reset value
// of its column. An unknown RecordType ends the parse there: kind 0, and the columns after it
// stay reset.
bool ParseProjTag(const ProjectRow& row, ProjTag_T& tag);

}  // namespace quellor
