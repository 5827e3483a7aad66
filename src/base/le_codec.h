// Fixed-width little-endian loads and stores for the binary layouts (Tagname.X, Tag_Ext.X,
// Tagnames.NDX, TagBrw.DAT). Every field is read and written through these at a named
// offset, never by casting a struct over bytes.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace quellor {

inline std::uint16_t LoadLe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t LoadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint64_t LoadLe64(const std::uint8_t* p) {
  return static_cast<std::uint64_t>(LoadLe32(p)) |
         (static_cast<std::uint64_t>(LoadLe32(p + 4)) << 32);
}

inline std::int16_t LoadLeI16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(LoadLe16(p));
}
inline std::int32_t LoadLeI32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(LoadLe32(p));
}
inline float LoadLeF32(const std::uint8_t* p) { return std::bit_cast<float>(LoadLe32(p)); }
inline double LoadLeF64(const std::uint8_t* p) { return std::bit_cast<double>(LoadLe64(p)); }

inline void StoreLe16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void StoreLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void StoreLe64(std::uint8_t* p, std::uint64_t v) {
  StoreLe32(p, static_cast<std::uint32_t>(v));
  StoreLe32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

inline void StoreLeI16(std::uint8_t* p, std::int16_t v) {
  StoreLe16(p, static_cast<std::uint16_t>(v));
}
inline void StoreLeI32(std::uint8_t* p, std::int32_t v) {
  StoreLe32(p, static_cast<std::uint32_t>(v));
}
inline void StoreLeF32(std::uint8_t* p, float v) { StoreLe32(p, std::bit_cast<std::uint32_t>(v)); }
inline void StoreLeF64(std::uint8_t* p, double v) { StoreLe64(p, std::bit_cast<std::uint64_t>(v)); }

}  // namespace quellor
