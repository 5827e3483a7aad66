#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/le_codec.h"
#include "platform/dispatch/dispatch_wire.h"
#include "platform/dispatch/frame_socket.h"
#include "platform/retry.h"

namespace quellor::dispatch {
namespace {

Status ErrnoStatus(const std::string& what, int error) {
  std::string message = what + ": " + std::strerror(error);
  if (error == ENOENT || error == ECONNREFUSED) return Status::NotFound(std::move(message));
  return Status::IoError(std::move(message));
}

Result<sockaddr_un> AddressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof(address.sun_path)) {
    return Status::InvalidArgument(path + ": not a usable socket path");
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

// All or nothing; false with errno set on failure.
bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = RetryOnInterrupt([&] { return send(fd, data, size, MSG_NOSIGNAL); });
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The number of bytes read before the end of the stream; -1 on an error.
ssize_t ReadFully(int fd, std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = RetryOnInterrupt([&] { return read(fd, data + done, size - done); });
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

}  // namespace

Result<FrameSocket> FrameSocket::Connect(const std::string& path) {
  auto address = AddressOf(path);
  if (!address.ok()) return address.status();
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return ErrnoStatus(path, errno);
  FrameSocket connection(fd);
  const int connected = RetryOnInterrupt([&] {
    return connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(sockaddr_un));
  });
  if (connected != 0) return ErrnoStatus(path, errno);
  return connection;
}

FrameSocket::FrameSocket(FrameSocket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FrameSocket& FrameSocket::operator=(FrameSocket&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FrameSocket::~FrameSocket() {
  if (fd_ >= 0) close(fd_);
}

Status FrameSocket::Send(std::span<const std::uint8_t> payload) {
  std::vector<std::uint8_t> frame(4 + payload.size());
  StoreLe32(frame.data(), static_cast<std::uint32_t>(payload.size()));
  std::memcpy(frame.data() + 4, payload.data(), payload.size());
  if (!WriteAll(fd_, frame.data(), frame.size())) return ErrnoStatus("send", errno);
  return Status::Ok();
}

Result<std::optional<std::vector<std::uint8_t>>> FrameSocket::Receive() {
  std::uint8_t header[4];
  const ssize_t got = ReadFully(fd_, header, 4);
  if (got < 0) return ErrnoStatus("receive", errno);
  if (got == 0) return std::optional<std::vector<std::uint8_t>>();
  if (got < 4) return Status::Corruption("a frame header cut short");
  const std::uint32_t length = LoadLe32(header);
  if (length > kMaxFrameBytes) return Status::Corruption("a frame over the size limit");
  std::vector<std::uint8_t> payload(length);
  const ssize_t body = ReadFully(fd_, payload.data(), length);
  if (body < 0) return ErrnoStatus("receive", errno);
  if (static_cast<std::uint32_t>(body) != length) return Status::Corruption("a frame cut short");
  return std::optional<std::vector<std::uint8_t>>(std::move(payload));
}

Result<FrameListener> FrameListener::Listen(const std::string& path) {
  auto address = AddressOf(path);
  if (!address.ok()) return address.status();
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) unlink(path.c_str());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return ErrnoStatus(path, errno);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(sockaddr_un)) != 0 ||
      listen(fd, 4) != 0) {
    const int error = errno;
    close(fd);
    return ErrnoStatus(path, error);
  }
  return FrameListener(fd, path);
}

FrameListener::FrameListener(FrameListener&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)) {
  other.fd_ = -1;
}

FrameListener::~FrameListener() {
  if (fd_ < 0) return;
  close(fd_);
  unlink(path_.c_str());
}

Result<FrameSocket> FrameListener::Accept() {
  const int fd = RetryOnInterrupt([&] { return accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC); });
  if (fd < 0) return ErrnoStatus(path_, errno);
  return FrameSocket(fd);
}

}  // namespace quellor::dispatch
