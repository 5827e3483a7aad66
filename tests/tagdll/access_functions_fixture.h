// Access's functions evaluated through a real SQLite connection, in memory, on which they are
// registered as the library registers them.
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>

#include "tagdll/sqlite_handles.h"

namespace quellor::testing {

// One expression and its value as Evaluate shows it.
struct FunctionCase {
  const char* expression;
  const char* expected;
};

class AccessFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // The value of `SELECT expression` with its storage class: null, 7 (an integer), 7.0 or
  // 0.25 (a real, as short as it reads back exactly), 'text', or "error: ..." when SQLite
  // fails. In the expression a type name in braces, {Boolean} or {Date}, stands for the
  // integer of that SqlType, as the translator passes a type hint.
  std::string Evaluate(std::string_view expression);
  void ExpectAll(std::span<const FunctionCase> cases);
  // Runs statements whose results are not wanted (CREATE, INSERT).
  void Run(const std::string& sql);

  tagdll::ConnectionPtr connection_;
};

}  // namespace quellor::testing
