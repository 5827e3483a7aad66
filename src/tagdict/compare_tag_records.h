// CompareTagRecords: what changed between a stored tag and the record the merge built for it,
// each difference reported as a change message; and whether the two can be merged at all.
#pragma once

#include "tagdict/tag_record.h"

namespace quellor {

class CTagDict;

// Compares the record `built` by the merge with the record `stored` of the same tag. A changed
// type, or stored members that no longer fit beside the built ones (more than 64 in all), makes
// them incompatible: false is returned after the message. Otherwise the stored members that
// `built` lacks are appended to its list (a member no row delivers any more stays listed),
// every difference is reported in a fixed order, `changed` is set when anything differs, and
// true is returned. A stored member number that names no record (0, or beyond the record
// count) is ignored.
[[nodiscard]] bool CompareTagRecords(const CTagDict& dict, TagRec_T& built, const TagRec_T& stored,
                                     bool& changed);

}  // namespace quellor
