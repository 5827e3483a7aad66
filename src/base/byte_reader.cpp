#include "base/byte_reader.h"

#include "base/le_codec.h"

namespace quellor {

std::optional<std::uint8_t> ByteReader::ReadU8() {
  if (!Has(1)) return std::nullopt;
  return bytes_[pos_++];
}

std::optional<std::uint16_t> ByteReader::ReadLe16() {
  if (!Has(2)) return std::nullopt;
  const std::uint16_t v = LoadLe16(bytes_.data() + pos_);
  pos_ += 2;
  return v;
}

std::optional<std::uint32_t> ByteReader::ReadLe32() {
  if (!Has(4)) return std::nullopt;
  const std::uint32_t v = LoadLe32(bytes_.data() + pos_);
  pos_ += 4;
  return v;
}

std::optional<std::uint64_t> ByteReader::ReadLe64() {
  if (!Has(8)) return std::nullopt;
  const std::uint64_t v = LoadLe64(bytes_.data() + pos_);
  pos_ += 8;
  return v;
}

std::optional<float> ByteReader::ReadLeF32() {
  if (!Has(4)) return std::nullopt;
  const float v = LoadLeF32(bytes_.data() + pos_);
  pos_ += 4;
  return v;
}

std::optional<std::span<const std::uint8_t>> ByteReader::ReadBytes(std::size_t n) {
  if (!Has(n)) return std::nullopt;
  auto view = bytes_.subspan(pos_, n);
  pos_ += n;
  return view;
}

bool ByteReader::Skip(std::size_t n) {
  if (!Has(n)) return false;
  pos_ += n;
  return true;
}

}  // namespace quellor
