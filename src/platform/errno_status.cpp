#include "platform/errno_status.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace quellor {

Status ErrnoStatus(std::string_view path, int error) {
  std::string message(path);
  message += ": ";
  message += std::strerror(error);
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return Status::NotFound(std::move(message));
    case EACCES:
    case EPERM:
    case EROFS:
      return Status::PermissionDenied(std::move(message));
    case EWOULDBLOCK:
      return Status::Held(std::move(message));
    default:
      return Status::IoError(std::move(message));
  }
}

}  // namespace quellor
