// A Unix-domain stream socket that carries length-prefixed frames (dispatch_wire.h), and the
// listening end that the build window serves on. Closed when the owner goes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/status.h"

namespace quellor::dispatch {

class FrameSocket final {
 public:
  // Connects to a listener at a host path. Fails (NotFound) when nobody listens there.
  static Result<FrameSocket> Connect(const std::string& path);

  FrameSocket(FrameSocket&& other) noexcept;
  FrameSocket& operator=(FrameSocket&& other) noexcept;
  FrameSocket(const FrameSocket&) = delete;
  FrameSocket& operator=(const FrameSocket&) = delete;
  ~FrameSocket();

  Status Send(std::span<const std::uint8_t> payload);
  // The next frame's payload; nullopt when the peer closed the connection between frames.
  // A frame cut short or over the size limit is an error.
  Result<std::optional<std::vector<std::uint8_t>>> Receive();

 private:
  friend class FrameListener;
  explicit FrameSocket(int fd) : fd_(fd) {}
  int fd_ = -1;
};

class FrameListener final {
 public:
  // Listens at a host path; a stale socket left at the path is replaced.
  static Result<FrameListener> Listen(const std::string& path);

  FrameListener(FrameListener&& other) noexcept;
  FrameListener(const FrameListener&) = delete;
  FrameListener& operator=(const FrameListener&) = delete;
  ~FrameListener();  // closes and removes the socket path

  Result<FrameSocket> Accept();

 private:
  FrameListener(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  int fd_ = -1;
  std::string path_;
};

}  // namespace quellor::dispatch
