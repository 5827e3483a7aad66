#include "base/status.h"

namespace quellor {

std::string_view StatusCodeName(StatusCode code) {
  switch (code) {
    case StatusCode::kOk:
      return "OK";
    case StatusCode::kNotFound:
      return "NotFound";
    case StatusCode::kHeld:
      return "Held";
    case StatusCode::kPermissionDenied:
      return "PermissionDenied";
    case StatusCode::kIoError:
      return "IoError";
    case StatusCode::kCorruption:
      return "Corruption";
    case StatusCode::kInvalidArgument:
      return "InvalidArgument";
    case StatusCode::kUnsupported:
      return "Unsupported";
  }
  return "Unknown";
}

std::string Status::ToString() const {
  if (ok()) return "OK";
  std::string text(StatusCodeName(code_));
  text += ": ";
  text += message_;
  return text;
}

}  // namespace quellor
