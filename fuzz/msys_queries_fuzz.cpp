// The decoder of saved queries (MSysQueries rows to Access SQL) on any rows. The input is a
// query's catalog flags, then rows:
//
//   byte 0        the query's catalog flags, divided by 16
//   per row       attribute, Flag (2 bytes, little-endian), which fields are there (bit 0
//                 Name1, 1 Name2, 2 Expression, 3 Flag, 4 LvExtra), LvExtra (1 byte), then
//                 each text that is there as a 2-byte little-endian length and its bytes
//
// Rows take their Order from their position. Property: the decoding does not depend on the
// rows' physical order, only on their Order bytes (the file may store them in any order).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "tagdll/access/query_decoder.h"

namespace {

using quellor::tagdll::access::QueryRow;
using quellor::tagdll::access::SavedQueryRows;

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string Text() {
    const std::size_t length = Byte() | (Byte() << 8);
    const std::size_t taken = std::min(length, size_ - std::min(at_, size_));
    std::string text(reinterpret_cast<const char*>(data_) + at_, taken);
    at_ += taken;
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

SavedQueryRows ReadRows(Input& input) {
  SavedQueryRows query{"fuzz", static_cast<std::int32_t>(input.Byte()) << 4, {}};
  for (std::uint32_t index = 0; !input.empty(); ++index) {
    QueryRow row;
    row.attribute = input.Byte();
    const int flag = static_cast<std::int16_t>(input.Byte() | (input.Byte() << 8));
    const std::uint8_t present = input.Byte();
    const std::int32_t extra = input.Byte();
    row.order = {static_cast<char>(index >> 24), static_cast<char>(index >> 16),
                 static_cast<char>(index >> 8), static_cast<char>(index)};
    if (present & 1) row.name1 = input.Text();
    if (present & 2) row.name2 = input.Text();
    if (present & 4) row.expression = input.Text();
    if (present & 8) row.flag = flag;
    if (present & 16) row.extra = extra;
    query.rows.push_back(std::move(row));
  }
  return query;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellor;
  Input input(data, size);
  SavedQueryRows query = ReadRows(input);
  const auto decoded = tagdll::access::DecodeSavedQuery(query);
  std::reverse(query.rows.begin(), query.rows.end());
  const auto again = tagdll::access::DecodeSavedQuery(query);
  fuzz::Check(decoded.ok() == again.ok(), "the rows' physical order does not decide success");
  if (decoded.ok()) {
    fuzz::Check(decoded->access_sql == again->access_sql, "nor the text");
    fuzz::Check(decoded->parameters == again->parameters, "nor the parameters");
  } else {
    fuzz::Check(decoded.status() == again.status(), "nor the reason");
  }
  return 0;
}
