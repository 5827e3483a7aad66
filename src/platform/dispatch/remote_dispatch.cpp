#include "platform/dispatch/remote_dispatch.h"

namespace quellor::dispatch {

Result<RemoteDispatch> RemoteDispatch::Connect(const std::string& socket_path) {
  auto socket = FrameSocket::Connect(socket_path);
  if (!socket.ok()) return socket.status();
  return RemoteDispatch(std::move(socket).value());
}

Reply RemoteDispatch::Call(const Request& request) {
  if (!socket_.Send(EncodeRequest(request)).ok()) return {kDisconnected, 0};
  auto payload = socket_.Receive();
  if (!payload.ok() || !payload->has_value()) return {kDisconnected, 0};
  return DecodeReply(**payload).value_or(Reply{kDisconnected, 0});
}

std::int32_t RemoteDispatch::GetIdOfName(std::u16string_view name, std::int32_t* id) {
  const Reply reply = Call(LookUpRequest{std::u16string(name)});
  if (reply.result >= 0) *id = reply.value;
  return reply.result;
}

std::int32_t RemoteDispatch::Invoke(std::int32_t id, std::span<const Argument> arguments) {
  return Call(InvokeRequest{id, {arguments.begin(), arguments.end()}}).result;
}

}  // namespace quellor::dispatch
