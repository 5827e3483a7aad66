// A cursor over bytes that checks every read against what is left. A read that does not fit
// returns nothing and consumes nothing, so a damaged file is reported, never read past.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quellor {

class ByteReader final {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  bool Has(std::size_t n) const { return n <= remaining(); }

  std::optional<std::uint8_t> ReadU8();
  std::optional<std::uint16_t> ReadLe16();
  std::optional<std::uint32_t> ReadLe32();
  std::optional<std::uint64_t> ReadLe64();
  std::optional<float> ReadLeF32();
  // A view of the next n bytes, valid as long as the underlying bytes are.
  std::optional<std::span<const std::uint8_t>> ReadBytes(std::size_t n);
  bool Skip(std::size_t n);

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace quellor
