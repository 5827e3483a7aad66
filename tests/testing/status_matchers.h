// GoogleTest matchers for Status and Result<T>: IsOk() and StatusIs(code[, message]).
#pragma once

#include <gmock/gmock.h>

#include <ostream>

#include "base/status.h"

namespace quellor {

inline void PrintTo(const Status& status, std::ostream* os) { *os << status.ToString(); }
inline void PrintTo(StatusCode code, std::ostream* os) { *os << StatusCodeName(code); }
template <typename T>
void PrintTo(const Result<T>& result, std::ostream* os) {
  *os << (result.ok() ? "a value" : result.status().ToString());
}

namespace testing {

inline const Status& GetStatus(const Status& status) { return status; }
template <typename T>
Status GetStatus(const Result<T>& result) {
  return result.status();
}

MATCHER(IsOk, "is OK") { return GetStatus(arg).ok(); }

MATCHER_P(StatusIs, code, "has code " + std::string(StatusCodeName(code))) {
  return GetStatus(arg).code() == code;
}

MATCHER_P2(StatusIs, code, message,
           "has code " + std::string(StatusCodeName(code)) + " and message \"" +
               std::string(message) + "\"") {
  const Status status = GetStatus(arg);
  return status.code() == code && status.message() == message;
}

}  // namespace testing
}  // namespace quellor
