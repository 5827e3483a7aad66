// The wire form of automation calls between Quellor and the build window, over a Unix-domain
// stream socket: the stand-in for the component runtime's out-of-process dispatch. Two
// requests exist: look up a method's id by its name, and invoke a method by id with its
// arguments (in automation order: the last argument first). Each request gets one reply: a
// result code (0 success, negative failure) and a value (the id, for a look-up).
//
// A frame is a 32-bit little-endian payload length, then the payload:
//   look-up  u8 1, u32 name length in UTF-16 units, the name in UTF-16LE
//   invoke   u8 2, i32 id, u16 argument count, per argument: u16 variant type, then
//            VT_I2: i16 value; VT_BSTR: u32 length in UTF-16 units, the text in UTF-16LE
//   reply    i32 result, i32 value
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace quellor::dispatch {

inline constexpr std::uint16_t kVtI2 = 2;
inline constexpr std::uint16_t kVtBstr = 8;
inline constexpr std::int32_t kMemberNotFound = static_cast<std::int32_t>(0x80020003u);
inline constexpr std::int32_t kTypeMismatch = static_cast<std::int32_t>(0x80020005u);
// A frame larger than this is damage, not a call.
inline constexpr std::uint32_t kMaxFrameBytes = 16u << 20;

// One argument of a call: a 16-bit integer or a text.
using Argument = std::variant<std::int16_t, std::u16string>;

struct LookUpRequest {
  std::u16string name;
};
struct InvokeRequest {
  std::int32_t id = 0;
  std::vector<Argument> arguments;  // the last argument first
};
using Request = std::variant<LookUpRequest, InvokeRequest>;

struct Reply {
  std::int32_t result = 0;
  std::int32_t value = 0;
};

// Payloads, without the length prefix.
std::vector<std::uint8_t> EncodeRequest(const Request& request);
std::optional<Request> DecodeRequest(std::span<const std::uint8_t> payload);
std::vector<std::uint8_t> EncodeReply(const Reply& reply);
std::optional<Reply> DecodeReply(std::span<const std::uint8_t> payload);

}  // namespace quellor::dispatch
