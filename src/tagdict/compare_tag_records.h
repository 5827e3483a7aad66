// CompareTagRecords: what changed between a stored tag and the record the merge built for it,
// each difference reported as a change message; and whether the two can be merged at all.
#pragma once

#include "tagdict/tag_record.h"

namespace quellor {

class CTagDict;

// Compares the new record `W` with the stored record `S` of the same tag. A changed type, or
// stored members that no longer fit beside W's (more than 64 in all), makes them incompatible:
// 0 is returned after the message. Otherwise the stored members W lacks are appended to W's
// list (a member no row delivers any more stays listed), every difference is reported in a
// fixed order, `changed` is set when anything differs, and 1 is returned. A stored member
// number that names no record (0, or beyond the record count) is ignored.
int CompareTagRecords(const CTagDict& dict, TagRec_T& W, const TagRec_T& S, bool& changed);

}  // namespace quellor
