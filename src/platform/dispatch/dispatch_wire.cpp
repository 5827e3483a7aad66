#include "platform/dispatch/dispatch_wire.h"

#include "base/byte_reader.h"
#include "base/le_codec.h"

namespace quellor::dispatch {
namespace {

constexpr std::uint8_t kLookUp = 1;
constexpr std::uint8_t kInvoke = 2;

// Grows `out` by `size` bytes and returns where they start. (Stored in place: inserting a small
// array makes g++ 12 at -O3 warn falsely of out-of-bounds copies.)
std::uint8_t* Append(std::vector<std::uint8_t>& out, std::size_t size) {
  out.resize(out.size() + size);
  return out.data() + out.size() - size;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) { StoreLe16(Append(out, 2), v); }

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) { StoreLe32(Append(out, 4), v); }

void PutText(std::vector<std::uint8_t>& out, const std::u16string& text) {
  PutU32(out, static_cast<std::uint32_t>(text.size()));
  for (char16_t unit : text) PutU16(out, unit);
}

std::optional<std::u16string> GetText(ByteReader& reader) {
  const auto length = reader.ReadLe32();
  if (!length || !reader.Has(std::size_t{*length} * 2)) return std::nullopt;
  std::u16string text(*length, u'\0');
  for (char16_t& unit : text) unit = *reader.ReadLe16();
  return text;
}

std::optional<Argument> GetArgument(ByteReader& reader) {
  const auto type = reader.ReadLe16();
  if (!type) return std::nullopt;
  if (*type == kVtI2) {
    const auto value = reader.ReadLe16();
    if (!value) return std::nullopt;
    return Argument(static_cast<std::int16_t>(*value));
  }
  if (*type == kVtBstr) {
    auto text = GetText(reader);
    if (!text) return std::nullopt;
    return Argument(std::move(*text));
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::uint8_t> EncodeRequest(const Request& request) {
  std::vector<std::uint8_t> out;
  if (const auto* look_up = std::get_if<LookUpRequest>(&request)) {
    out.push_back(kLookUp);
    PutText(out, look_up->name);
    return out;
  }
  const auto& invoke = std::get<InvokeRequest>(request);
  out.push_back(kInvoke);
  PutU32(out, static_cast<std::uint32_t>(invoke.id));
  PutU16(out, static_cast<std::uint16_t>(invoke.arguments.size()));
  for (const Argument& argument : invoke.arguments) {
    if (const auto* value = std::get_if<std::int16_t>(&argument)) {
      PutU16(out, kVtI2);
      PutU16(out, static_cast<std::uint16_t>(*value));
    } else {
      PutU16(out, kVtBstr);
      PutText(out, std::get<std::u16string>(argument));
    }
  }
  return out;
}

std::optional<Request> DecodeRequest(std::span<const std::uint8_t> payload) {
  ByteReader reader(payload);
  const auto kind = reader.ReadU8();
  if (kind == kLookUp) {
    auto name = GetText(reader);
    if (!name || reader.remaining() != 0) return std::nullopt;
    return Request(LookUpRequest{std::move(*name)});
  }
  if (kind != kInvoke) return std::nullopt;
  const auto id = reader.ReadLe32();
  const auto count = reader.ReadLe16();
  if (!id || !count) return std::nullopt;
  InvokeRequest invoke{static_cast<std::int32_t>(*id), {}};
  for (std::uint16_t i = 0; i < *count; ++i) {
    auto argument = GetArgument(reader);
    if (!argument) return std::nullopt;
    invoke.arguments.push_back(std::move(*argument));
  }
  if (reader.remaining() != 0) return std::nullopt;
  return Request(std::move(invoke));
}

std::vector<std::uint8_t> EncodeReply(const Reply& reply) {
  std::vector<std::uint8_t> out;
  PutU32(out, static_cast<std::uint32_t>(reply.result));
  PutU32(out, static_cast<std::uint32_t>(reply.value));
  return out;
}

std::optional<Reply> DecodeReply(std::span<const std::uint8_t> payload) {
  ByteReader reader(payload);
  const auto result = reader.ReadLe32();
  const auto value = reader.ReadLe32();
  if (!result || !value || reader.remaining() != 0) return std::nullopt;
  return Reply{static_cast<std::int32_t>(*result), static_cast<std::int32_t>(*value)};
}

}  // namespace quellor::dispatch
