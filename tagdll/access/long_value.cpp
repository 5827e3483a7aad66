#include "tagdll/access/long_value.h"

#include "base/le_codec.h"
#include "tagdll/access/mdb_library.h"

namespace quellor::tagdll::access {
namespace {

constexpr std::uint32_t kInRow = 0x80000000;
constexpr std::uint32_t kOneRow = 0x40000000;
constexpr std::uint32_t kLengthMask = 0x3FFFFFFF;

Status Damaged() { return Status::Corruption("a Memo or OLE value is damaged"); }

// One row of a long-value page, read through the library's second page buffer, so that the
// row being imported stays where it is.
Result<std::span<const std::uint8_t>> LongValueRow(MdbHandle* mdb, std::uint32_t page_row) {
  void* page = nullptr;
  int offset = 0;
  std::size_t length = 0;
  if (mdb_find_pg_row(mdb, static_cast<int>(page_row), &page, &offset, &length) != 0 ||
      offset < 0 ||
      static_cast<std::size_t>(offset) + length > static_cast<std::size_t>(mdb->fmt->pg_size)) {
    return Damaged();
  }
  return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(page) + offset, length);
}

Result<std::vector<std::uint8_t>> ReadChain(MdbHandle* mdb, std::uint32_t page_row,
                                            std::uint32_t length) {
  std::vector<std::uint8_t> value;
  // Every row of a sound chain carries at least one byte.
  for (std::uint32_t hops = 0; page_row != 0 && value.size() < length; ++hops) {
    Result<std::span<const std::uint8_t>> row = LongValueRow(mdb, page_row);
    if (!row.ok() || row->size() < 4 || hops > length) return Damaged();
    page_row = LoadLe32(row->data());
    value.insert(value.end(), row->begin() + 4, row->end());
  }
  if (value.size() != length) return Damaged();
  return value;
}

}  // namespace

Result<std::vector<std::uint8_t>> ReadLongValue(MdbHandle* mdb,
                                                std::span<const std::uint8_t> field) {
  if (field.size() < kLongValueReferenceSize) return Damaged();
  const std::uint32_t head = LoadLe32(field.data());
  const std::uint32_t page_row = LoadLe32(field.data() + 4);
  if ((head & kInRow) != 0) {
    const std::span<const std::uint8_t> data = field.subspan(kLongValueReferenceSize);
    return std::vector<std::uint8_t>(data.begin(), data.end());
  }
  if ((head & kOneRow) != 0) {
    Result<std::span<const std::uint8_t>> row = LongValueRow(mdb, page_row);
    if (!row.ok()) return row.status();
    return std::vector<std::uint8_t>(row->begin(), row->end());
  }
  return ReadChain(mdb, page_row, head & kLengthMask);
}

}  // namespace quellor::tagdll::access
