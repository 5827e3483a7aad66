// Status and Result<T>: failures as values. A module reports a failure where it happens and
// hands a Status up; nothing is thrown across modules.
#pragma once

#include <cassert>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace quellor {

enum class StatusCode {
  kOk,
  kNotFound,          // the file, key, record or query does not exist
  kHeld,              // another Quellor process holds the file or folder
  kPermissionDenied,  // no access; a read-only file or folder opened for writing
  kIoError,           // a read, write, sync or rename failed
  kCorruption,        // bytes that do not follow their format
  kInvalidArgument,   // a value the callee refuses (a line end in a profile key, ...)
  kUnsupported,       // a form this program does not handle
};

std::string_view StatusCodeName(StatusCode code);

class [[nodiscard]] Status final {
 public:
  Status() = default;  // success
  Status(StatusCode code, std::string message) : code_(code), message_(std::move(message)) {}

  static Status Ok() { return Status(); }
  static Status NotFound(std::string m) { return {StatusCode::kNotFound, std::move(m)}; }
  static Status Held(std::string m) { return {StatusCode::kHeld, std::move(m)}; }
  static Status PermissionDenied(std::string m) {
    return {StatusCode::kPermissionDenied, std::move(m)};
  }
  static Status IoError(std::string m) { return {StatusCode::kIoError, std::move(m)}; }
  static Status Corruption(std::string m) { return {StatusCode::kCorruption, std::move(m)}; }
  static Status InvalidArgument(std::string m) {
    return {StatusCode::kInvalidArgument, std::move(m)};
  }
  static Status Unsupported(std::string m) { return {StatusCode::kUnsupported, std::move(m)}; }

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }
  const std::string& message() const { return message_; }
  // "OK", or the code's name, a colon and the message; for logs and test output.
  std::string ToString() const;

  friend bool operator==(const Status&, const Status&) = default;

 private:
  StatusCode code_ = StatusCode::kOk;
  std::string message_;
};

// A value, or the Status that explains why there is none. Requires: a Status given to the
// constructor is not ok. value() on a failed Result is a programming error.
template <typename T>
class [[nodiscard]] Result final {
 public:
  Result(T value) : state_(std::in_place_index<1>, std::move(value)) {}        // NOLINT: implicit
  Result(Status status) : state_(std::in_place_index<0>, std::move(status)) {  // NOLINT
    assert(!std::get<0>(state_).ok());
  }

  bool ok() const { return state_.index() == 1; }
  Status status() const { return ok() ? Status::Ok() : std::get<0>(state_); }

  T& value() & { return std::get<1>(state_); }
  const T& value() const& { return std::get<1>(state_); }
  T&& value() && { return std::get<1>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

 private:
  std::variant<Status, T> state_;
};

}  // namespace quellor
