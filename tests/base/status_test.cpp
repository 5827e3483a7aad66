#include "base/status.h"

#include <memory>

#include <gtest/gtest.h>

namespace quellor {
namespace {

TEST(Status, DefaultIsOkAndFailuresCarryCodeAndMessage) {
  EXPECT_TRUE(Status().ok());
  EXPECT_EQ(Status().ToString(), "OK");
  const Status failure = Status::IoError("/x/DDE.CFG: No space left on device");
  EXPECT_FALSE(failure.ok());
  EXPECT_EQ(failure.code(), StatusCode::kIoError);
  EXPECT_EQ(failure.ToString(), "IoError: /x/DDE.CFG: No space left on device");
}

TEST(Result, HoldsAValueOrTheFailure) {
  Result<std::unique_ptr<int>> value(std::make_unique<int>(7));
  ASSERT_TRUE(value.ok());
  EXPECT_EQ(**value, 7);
  std::unique_ptr<int> moved = std::move(value).value();
  EXPECT_EQ(*moved, 7);

  Result<int> failure(Status::Corruption("bad header"));
  EXPECT_FALSE(failure.ok());
  EXPECT_EQ(failure.status(), Status::Corruption("bad header"));
}

}  // namespace
}  // namespace quellor
