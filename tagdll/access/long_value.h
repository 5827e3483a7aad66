// Memo and OLE values ("long values"). The row holds a 12-byte reference:
//
//   offset  size  field
//   0       4     the value's length in bytes; bit 31: the value follows in the row itself;
//                 bit 30: it fills one row of a long-value page; neither: it is a chain of
//                 such rows, each starting with the 4-byte reference of the next
//   4       4     the first long-value row: its page number times 256 plus its row number
//   8       4     unused
//
// A value is read whole, however long, and a chain that is cut, loops or disagrees with the
// length is damage, never a shorter value.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/status.h"
#include "tagdll/access/mdb_library.h"

namespace quellor::tagdll::access {

inline constexpr std::size_t kLongValueReferenceSize = 12;

// The bytes of the long value whose reference (and, for a value in the row, data) is `field`,
// a span of the row on the library's current page. Fails with kCorruption.
Result<std::vector<std::uint8_t>> ReadLongValue(MdbHandle* mdb,
                                                std::span<const std::uint8_t> field);

}  // namespace quellor::tagdll::access
