// The dispatch interface of an automation object served by another process (the build
// window): method ids looked up by name, methods invoked by id. Results are automation
// result codes (0 success, negative failure); a broken connection is a failure too.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/status.h"
#include "platform/dispatch/dispatch_wire.h"
#include "platform/dispatch/frame_socket.h"

namespace quellor::dispatch {

inline constexpr std::int32_t kDisconnected = static_cast<std::int32_t>(0x80010108u);

class RemoteDispatch final {
 public:
  static Result<RemoteDispatch> Connect(const std::string& socket_path);

  std::int32_t GetIdOfName(std::u16string_view name, std::int32_t* id);
  // `arguments` in automation order: the last argument of the method first.
  std::int32_t Invoke(std::int32_t id, std::span<const Argument> arguments);

 private:
  explicit RemoteDispatch(FrameSocket socket) : socket_(std::move(socket)) {}
  Reply Call(const Request& request);
  FrameSocket socket_;
};

}  // namespace quellor::dispatch
